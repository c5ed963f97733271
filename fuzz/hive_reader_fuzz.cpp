// libFuzzer target for the hive reader and writer. Any input must either be
// refused with RegistryError or load; a loaded hive must write back as the
// same bytes while untouched, and, with every key rewritten, as text that
// loads again into the same keys and values.
#include "registry/errors.h"
#include "registry/hive_file.h"
#include "registry/text.h"

#include <cstdint>
#include <string>

namespace {

void check(bool condition) {
  if (!condition)
    __builtin_trap();
}

// Reads every key's values, then rewrites each key that has some.
void touchEveryKey(reg::Key &key) {
  const std::vector<reg::Value> values = key.values();
  if (!values.empty()) {
    key.removeValue(values.front().name);
    key.setValue(values.front().name, values.front().type, values.front().data);
  }
  for (std::size_t i = 0; i < key.childCount(); ++i)
    touchEveryKey(key.childAt(i));
}

// Names compare without regard to case: a key spelled two ways in the file
// is one key, and which spelling it keeps depends on the order of writing.
void expectSameKeys(reg::Key &a, reg::Key &b) {
  check(reg::namesEqual(a.name(), b.name()));
  check(a.childCount() == b.childCount());
  check(a.values().size() == b.values().size());
  for (const reg::Value &value : a.values()) {
    const reg::Value *other = b.findValue(value.name);
    check(other && other->type == value.type && other->data == value.data);
  }
  check(a.className() == b.className());
  check(a.isLink() == b.isLink());
  for (std::size_t i = 0; i < a.childCount(); ++i)
    expectSameKeys(a.childAt(i), b.childAt(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::unique_ptr<reg::Hive> hive;
  try {
    hive = reg::parseHive(text, "fuzz.reg");
  } catch (const reg::RegistryError &) {
    return 0;
  }
  check(reg::serializeHive(*hive) == text);
  touchEveryKey(hive->root());
  hive->ensure({u"fuzz", u"new"}).setValue(u"v", reg::REG_SZ, {'x', 0, 0, 0});
  const std::string written = reg::serializeHive(*hive);
  std::unique_ptr<reg::Hive> again = reg::parseHive(written, "written.reg");
  expectSameKeys(hive->root(), again->root());
  return 0;
}
