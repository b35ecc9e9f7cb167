// bench_lzh: LZH encode and decode throughput (MB/s of unpacked data) on a
// skin-sized archive (about 230 KB) and on 8 MB of skin-like data. Decoding
// goes through the package reader's stream callbacks, as the engine does.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "SkinLikeData.h"
#include "framework/rtl/Streams.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinRead.h"

namespace {

constexpr double BytesPerMB = 1024.0 * 1024.0;
constexpr double MinSecondsPerCase = 1.0;  // repeat each case at least this long
constexpr int MinRepeats = 3;

template <class Work>
double BestSeconds(Work work) {
    double best = 1e30, total = 0;
    for (int run = 0; run < MinRepeats || total < MinSecondsPerCase; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, seconds);
        total += seconds;
    }
    return best;
}

void Measure(const char* label, size_t targetBytes) {
    const std::vector<uint8_t> archive = BuildSkinArchive(MakeSkinLikeFiles(targetBytes, 2010));
    std::vector<uint8_t> package;
    const double encodeSeconds = BestSeconds([&] { package = LzhCompressFramed(archive); });

    TMemoryStream packageStream;
    packageStream.WriteBuffer(package.data(), static_cast<int32_t>(package.size()));
    TMemoryStream expanded;
    const double decodeSeconds = BestSeconds([&] { TSkinReader::ExpandPackage(packageStream, expanded); });
    if (expanded.Size() != static_cast<int64_t>(archive.size()) ||
        !std::equal(archive.begin(), archive.end(), expanded.Memory())) {
        std::printf("%s: decoded data differs\n", label);
        return;
    }
    std::vector<uint8_t> raw;
    const double rawSeconds = BestSeconds([&] { LzhExpandFramed(package.data(), package.size(), raw, archive.size()); });

    const double mb = static_cast<double>(archive.size()) / BytesPerMB;
    std::printf("%-8s %10zu -> %9zu bytes (%5.1f %%)  encode %6.2f MB/s  decode %6.2f MB/s (streams)  %6.2f MB/s (buffers)\n",
                label, archive.size(), package.size(), 100.0 * static_cast<double>(package.size()) / static_cast<double>(archive.size()),
                mb / encodeSeconds, mb / decodeSeconds, mb / rawSeconds);
}

}  // namespace

int main() {
    Measure("skin", 220 * 1024);  // the stored skin unpacks to 227,041 bytes
    Measure("8 MB", 8 * 1024 * 1024);
    return 0;
}
