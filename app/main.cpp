#include "app/program.h"

int main(int argc, char **argv) { return tf::runTweakforge(argc, argv); }
