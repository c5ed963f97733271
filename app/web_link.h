// `GoToWeb1`: the homepage and the author's e-mail address, handed to the
// desktop, with the program's messages when that fails.
#pragma once

class QWidget;

namespace tf {

inline constexpr char HomepageAddress[] = "https://tweakforge.example.org/";
inline constexpr char AuthorAddress[] = "tweakforge@example.org";

// Opens the homepage in the default browser; on failure a plain error box
// with no owner and no beep.
void goToHomepage();
// Starts an e-mail to the author; on failure the error message (beep, box)
// owned by `owner`.
void sendMailToAuthor(QWidget *owner);

} // namespace tf
