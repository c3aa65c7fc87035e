#include "ui/Program.h"

int main(int argc, char** argv) { return selvane::ui::runDesktop(argc, argv); }
