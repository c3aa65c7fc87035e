#include <iostream>

#include "ui/InfoOptions.h"
#include "ui/Program.h"

int main(int argc, char** argv) {
    if (const int code = selvane::ui::answerInfoOptions(argc, argv, std::cout); code >= 0) return code;
    return selvane::ui::runDesktop(argc, argv);
}
