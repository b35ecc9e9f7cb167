// bench_lzh: LZH encode and decode throughput (MB/s of unpacked data) on a
// skin-sized archive (about 230 KB) and on 8 MB of skin-like data. Decoding
// goes through the package reader's stream callbacks, as the engine does.
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SkinLikeData.h"
#include "framework/rtl/Streams.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinRead.h"

namespace {

constexpr double BytesPerMB = 1024.0 * 1024.0;
constexpr double MinSecondsPerCase = 1.0;  // repeat each case at least this long
constexpr int MinRepeats = 3;

// Best processor time of repeated runs: the machine is shared, and
// processor time is far less disturbed by other loads than wall time.
template <class Work>
double BestSeconds(Work work) {
    double best = 1e30, total = 0;
    for (int run = 0; run < MinRepeats || total < MinSecondsPerCase; ++run) {
        const std::clock_t start = std::clock();
        work();
        const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        best = std::min(best, seconds);
        total += seconds;
    }
    return best;
}

std::vector<TSkinPackageFile> ReadSkinFolder(const std::filesystem::path& folder) {
    std::vector<TSkinPackageFile> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files.push_back({entry.path().filename().string(),
                         std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
    }
    return files;
}

void Measure(const std::string& label, const std::vector<TSkinPackageFile>& files) {
    const std::vector<uint8_t> archive = BuildSkinArchive(files);
    std::vector<uint8_t> package;
    const double encodeSeconds = BestSeconds([&] { package = LzhCompressFramed(archive); });

    TMemoryStream packageStream;
    packageStream.WriteBuffer(package.data(), static_cast<int32_t>(package.size()));
    TMemoryStream expanded;
    const double decodeSeconds = BestSeconds([&] { TSkinReader::ExpandPackage(packageStream, expanded); });
    if (expanded.Size() != static_cast<int64_t>(archive.size()) ||
        !std::equal(archive.begin(), archive.end(), expanded.Memory())) {
        std::printf("%s: decoded data differs\n", label.c_str());
        return;
    }
    std::vector<uint8_t> raw;
    const double rawSeconds =
        BestSeconds([&] { LzhExpandFramed(package.data(), package.size(), raw, archive.size()); });

    const double mb = static_cast<double>(archive.size()) / BytesPerMB;
    std::printf(
        "%-8s %10zu -> %9zu bytes (%5.1f %%)  encode %6.2f MB/s  decode %6.2f MB/s (streams)  %6.2f MB/s (buffers)\n",
        label.c_str(), archive.size(), package.size(),
        100.0 * static_cast<double>(package.size()) / static_cast<double>(archive.size()), mb / encodeSeconds,
        mb / decodeSeconds, mb / rawSeconds);
}

}  // namespace

// Arguments: skin folders to measure as well (for instance skins/default).
int main(int argc, char** argv) {
    constexpr uint32_t seed = 2010;
    Measure("skin", MakeSkinLikeFiles(220 * 1024, seed));  // the stored skin unpacks to 227,041 bytes
    Measure("8 MB", MakeSkinLikeFiles(8 * 1024 * 1024, seed));
    for (int i = 1; i < argc; ++i) Measure(std::filesystem::path(argv[i]).filename().string(), ReadSkinFolder(argv[i]));
    return 0;
}
