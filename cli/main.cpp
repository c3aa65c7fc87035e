#include "Cli.h"

int main(int argc, char** argv) {
    selvane::cli::removeTempFolderOnSignals();
    return selvane::cli::runOnStdout(argc, argv);
}
