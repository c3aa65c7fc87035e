#pragma once

#include <functional>

namespace selvane::cli {

// One thread, made as the program starts, on which a command loads what it will need while it
// reads its words and makes its folder: libcurl first, then the record it writes. One thread for
// all of it: two libraries loading at once only queue, and no thread can start while one loads.
// Work runs in the order it was handed; the thread is made with the first.
void runAhead(std::function<void()> work);
// runAhead of libcurl's loading.
void loadFetcherAhead();

// Whether the words name a command that will fetch pages: read before the words are parsed, so
// that libcurl can load meanwhile. A wrong guess costs only that loading.
bool willFetch(int argc, char** argv);

}  // namespace selvane::cli
