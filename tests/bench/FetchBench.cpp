// Fetches a 50 MB body from the local web service with brcGetURL and with a
// bare WinINet read loop that only counts the bytes, in turns, and prints the
// times and their ratio. Run inside the test session (the service must be
// up): wine build/tests/bench/fetch_bench.exe [rounds]
#include "GetURL.h"
#include "ProductContext.h"
#include "ServiceAddress.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const long long kBodySize = 50LL * 1024 * 1024;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

long long BareLoop(const std::string& url) {
    HINTERNET internet = InternetOpenA("Brindlecode", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0);
    if (!internet)
        return -1;
    long long total = -1;
    HINTERNET request = InternetOpenUrlA(internet, url.c_str(), "", 0, 0xA4080500, 0);
    if (request) {
        static char chunk[10000];
        total = 0;
        DWORD available = 0;
        DWORD read = 0;
        while (InternetQueryDataAvailable(request, &available, 0, 0) && available > 0 &&
               InternetReadFile(request, chunk, sizeof chunk, &read) && read > 0)
            total += read;
        InternetCloseHandle(request);
    }
    InternetCloseHandle(internet);
    return total;
}

long long LibraryFetch(const std::string& url) {
    int length = 0;
    brcGetURL(url.c_str(), &length);
    return theLastStatus == 0 ? length : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string url =
        std::string(theDefaultServiceBaseURL) + "download/" + std::to_string(kBodySize) + ".bin";
    std::printf("fetching %s, %lld bytes, %d rounds\n", url.c_str(), kBodySize, rounds);

    std::vector<double> library;
    std::vector<double> bare;
    for (int round = 0; round < rounds; ++round) {
        for (int which = 0; which < 2; ++which) {
            // Alternate which one goes first, so neither always meets a warm server.
            const bool useLibrary = (round + which) % 2 == 0;
            LARGE_INTEGER start;
            LARGE_INTEGER end;
            QueryPerformanceCounter(&start);
            const long long bytes = useLibrary ? LibraryFetch(url) : BareLoop(url);
            QueryPerformanceCounter(&end);
            if (bytes != kBodySize) {
                std::printf("%s fetch got %lld bytes\n", useLibrary ? "brcGetURL" : "bare", bytes);
                return 1;
            }
            (useLibrary ? library : bare).push_back(Seconds(start, end));
        }
        std::printf("round %d: brcGetURL %.3f s, bare loop %.3f s\n", round + 1, library.back(),
                    bare.back());
    }
    // Other work on the machine only ever adds time: the best round is the
    // steadier figure, the median the more typical one.
    const double libraryMedian = Median(library);
    const double bareMedian = Median(bare);
    const double libraryBest = *std::min_element(library.begin(), library.end());
    const double bareBest = *std::min_element(bare.begin(), bare.end());
    std::printf("median: brcGetURL %.3f s, bare loop %.3f s, ratio %.2f\n", libraryMedian,
                bareMedian, libraryMedian / bareMedian);
    std::printf("best:   brcGetURL %.3f s, bare loop %.3f s, ratio %.2f\n", libraryBest, bareBest,
                libraryBest / bareBest);
    return 0;
}
