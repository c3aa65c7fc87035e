#include <iostream>

#include "Cli.h"

int main(int argc, char** argv) {
    selvane::cli::removeTempFolderOnSignals();
    return selvane::cli::runCli(argc, argv, std::cout, std::cerr);
}
