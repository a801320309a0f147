// Decoding a large "%010d" list and encoding it back, against a plain loop
// that only copies the same items into wide strings. Prints the best of
// several runs for a few sizes, to see the ratio and how it grows.
#include "ListEncoding.h"

#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

struct CSample {
    CPluginString text;
    std::vector<int> offsets; // where each item's units start
    std::vector<int> lengths;
};

// Items of 0 to 80 units, 50 units a field and item on average.
CSample MakeSample(int items) {
    std::mt19937 random(1234);
    CPluginList<CPluginString> list;
    for (int i = 0; i < items; ++i) {
        int length = static_cast<int>(random() % 81);
        CPluginString item(L'a', length);
        for (int u = 0; u < length; ++u)
            item.SetAt(u, static_cast<wchar_t>(L'0' + random() % 75));
        list.AddTail(item);
    }
    CSample sample;
    EncodeList(sample.text, list);
    int at = 10;
    for (POSITION position = list.GetHeadPosition(); position;) {
        int length = list.GetNext(position).GetLength();
        sample.offsets.push_back(at + 10);
        sample.lengths.push_back(length);
        at += 10 + length;
    }
    return sample;
}

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

double TimeCodec(const CSample& sample) {
    double begin = Now();
    CPluginList<CPluginString> items;
    DecodeList(sample.text.GetBSTR(), 0, items);
    CPluginString back;
    EncodeList(back, items);
    double seconds = Now() - begin;
    if (back.Compare(sample.text) != 0 || back.GetLength() != sample.text.GetLength())
        std::printf("round trip differs\n");
    return seconds;
}

double TimeCopy(const CSample& sample, bool pluginStrings) {
    double begin = Now();
    const wchar_t* units = sample.text.GetBSTR();
    size_t count = sample.offsets.size();
    if (pluginStrings) {
        std::vector<CPluginString> copies;
        copies.reserve(count);
        for (size_t i = 0; i < count; ++i)
            copies.emplace_back(units + sample.offsets[i], sample.lengths[i]);
    } else {
        std::vector<std::wstring> copies;
        copies.reserve(count);
        for (size_t i = 0; i < count; ++i)
            copies.emplace_back(units + sample.offsets[i], sample.lengths[i]);
    }
    return Now() - begin;
}

template <class F> double Best(F run) {
    double best = 1e9;
    for (int i = 0; i < 7; ++i) {
        double seconds = run();
        if (seconds < best)
            best = seconds;
    }
    return best;
}

} // namespace

int main() {
    std::printf("%8s %10s %12s %12s %12s %8s %8s\n", "items", "MB", "decode+enc", "copy BSTR",
                "copy wstring", "ratio", "ratio2");
    for (int items : {25000, 50000, 100000, 200000}) {
        CSample sample = MakeSample(items);
        double megabytes = sample.text.GetLength() * 2.0 / 1e6;
        double codec = Best([&] { return TimeCodec(sample); });
        double copyBstr = Best([&] { return TimeCopy(sample, true); });
        double copyWide = Best([&] { return TimeCopy(sample, false); });
        std::printf("%8d %10.2f %10.1fms %10.1fms %10.1fms %8.2f %8.2f\n", items, megabytes,
                    codec * 1e3, copyBstr * 1e3, copyWide * 1e3, codec / copyBstr,
                    codec / copyWide);
    }
    return 0;
}
