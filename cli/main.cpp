#include <cstdio>
#include <cstdlib>

#include "Ahead.h"
#include "Cli.h"

int main(int argc, char** argv) {
    selvane::cli::removeTempFolderOnSignals();
    // libcurl loads on another core while the words are read.
    if (selvane::cli::willFetch(argc, argv)) selvane::cli::loadFetcherAhead();
    const int code = selvane::cli::runOnStdout(argc, argv);
#if defined(__SANITIZE_ADDRESS__)
    return code;  // the leak check runs at exit
#else
    // The command's output is flushed and its files closed by now. What exit would still do is
    // the libraries' own clean-up (the TLS library frees its tables one by one), which costs a
    // short command more time than its output.
    std::fflush(nullptr);
    std::_Exit(code);
#endif
}
