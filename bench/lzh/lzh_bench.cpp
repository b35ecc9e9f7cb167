// bench_lzh: LZH decode throughput of the engine's decoder beside a plain
// reference decoder (ReferenceLzhuf.c, the classic algorithm written out),
// measured interleaved in one run on the same streams: the bundled skins'
// packages and skinpack-encoded text, bitmap, repetitive and random data of
// 100 KB to 8 MB. Prints MB/s of unpacked data (medians of processor time)
// and the ratio engine / reference, for the engine's stream path (the
// package reader, TSkinReader::ExpandPackage) and its buffer path
// (LzhExpandFramed).
//
// Arguments: [--rounds N] [--filter TEXT] [PACKAGE.skn | SKIN_FOLDER]...
//   --rounds N     exactly N interleaved rounds per input (default: at least
//                  MinRounds and MinSeconds of each decoder)
//   --filter TEXT  only the inputs whose label contains TEXT
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "ReferenceLzhuf.h"
#include "SkinLikeData.h"
#include "framework/rtl/Streams.h"
#include "skin/data/LittleEndian.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinRead.h"

namespace {

constexpr double BytesPerMB = 1024.0 * 1024.0;
constexpr int MinRounds = 7;
constexpr double MinSeconds = 0.5;  // of each decoder, per input
constexpr uint32_t Seed = 2010;

struct TInput {
    std::string Label;
    std::vector<uint8_t> Data;     // unpacked
    std::vector<uint8_t> Package;  // 4-byte size, then the bit stream
    double EncodeSeconds = 0;      // 0: not encoded here
};

struct TOptions {
    int Rounds = 0;
    std::string Filter;
};

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TInput Encoded(std::string label, std::vector<uint8_t> data) {
    TInput input{std::move(label), std::move(data), {}, 0};
    const double start = CpuSeconds();
    input.Package = LzhCompressFramed(input.Data);
    input.EncodeSeconds = CpuSeconds() - start;
    return input;
}

// A skin folder packed as skinpack packs it, or a package file as it is.
TInput SkinInput(const std::filesystem::path& path) {
    const std::string label = path.filename().string();
    if (!std::filesystem::is_directory(path)) {
        TInput input{label, {}, ReadFile(path), 0};
        LzhExpandFramed(input.Package.data(), input.Package.size(), input.Data, SkinMaxUnpackedSize);
        return input;
    }
    std::vector<TSkinPackageFile> files;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (entry.is_regular_file()) files.push_back({entry.path().filename().string(), ReadFile(entry.path())});
    }
    // The INI first, the rest by name, as the packer stores them.
    std::sort(files.begin(), files.end(), [](const TSkinPackageFile& a, const TSkinPackageFile& b) {
        const bool iniA = a.Name.ends_with(".ini"), iniB = b.Name.ends_with(".ini");
        return iniA != iniB ? iniA : a.Name < b.Name;
    });
    return Encoded(label, BuildSkinArchive(files));
}

// Words with a skewed frequency, sentences and line breaks.
std::vector<uint8_t> MakeText(size_t size, std::mt19937& random) {
    static const char* const words[] = {
        "the",     "skin",  "of",     "a",     "window",  "is",     "drawn",  "from",  "bitmaps",     "and",
        "caption", "frame", "button", "every", "control", "menu",   "colour", "when",  "mouse",       "over",
        "pressed", "left",  "right",  "top",   "bottom",  "border", "engine", "draws", "transparent", "magenta",
        "system",  "text",  "with",   "its",   "own",     "form",   "dialog", "popup", "scroll",      "bar"};
    std::string text;
    std::geometric_distribution<int> pick(0.12);
    int sentence = 0;
    while (text.size() < size) {
        const int index = std::min<int>(pick(random), static_cast<int>(std::size(words)) - 1);
        std::string word = words[index];
        if (sentence == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
        text += word;
        if (++sentence > 6 + static_cast<int>(random() % 12)) {
            text += random() % 4 == 0 ? ".\r\n" : ". ";
            sentence = 0;
        } else {
            text += random() % 9 == 0 ? ", " : " ";
        }
    }
    text.resize(size);
    return {text.begin(), text.end()};
}

// The skin-like archive: an INI and 24-bit bitmaps of frames, buttons and textures.
std::vector<uint8_t> MakeBitmaps(size_t size) {
    std::vector<uint8_t> archive = BuildSkinArchive(MakeSkinLikeFiles(size, Seed));
    archive.resize(size);
    return archive;
}

// Long matches: runs of one byte and a few blocks repeated with small changes.
std::vector<uint8_t> MakeRepetitive(size_t size, std::mt19937& random) {
    std::vector<uint8_t> block(1500);
    for (auto& byte : block) byte = static_cast<uint8_t>('a' + random() % 26);
    std::vector<uint8_t> data;
    data.reserve(size);
    while (data.size() < size) {
        if (random() % 3 == 0) {
            data.insert(data.end(), 200 + random() % 2000, static_cast<uint8_t>(random()));
        } else {
            block[random() % block.size()] = static_cast<uint8_t>(random());
            data.insert(data.end(), block.begin(), block.end());
        }
    }
    data.resize(size);
    return data;
}

std::vector<uint8_t> MakeRandom(size_t size, std::mt19937& random) {
    std::vector<uint8_t> data(size);
    for (auto& byte : data) byte = static_cast<uint8_t>(random());
    return data;
}

std::string SizeLabel(size_t size) {
    return size >= 1024 * 1024 ? std::to_string(size / (1024 * 1024)) + " MB" : std::to_string(size / 1024) + " KB";
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The three decoders, each checked against the data once.
struct TDecoders {
    const TInput& Input;
    TMemoryStream PackageStream;
    TMemoryStream Archive;
    std::vector<uint8_t> Buffer;
    std::vector<uint8_t> Reference;

    explicit TDecoders(const TInput& input) : Input(input) {
        PackageStream.WriteBuffer(input.Package.data(), static_cast<int32_t>(input.Package.size()));
        Reference.resize(ReferenceLzhufOutputRoom(static_cast<unsigned long>(input.Data.size())));
    }
    void Streams() { TSkinReader::ExpandPackage(PackageStream, Archive); }
    void Buffers() { LzhExpandFramed(Input.Package.data(), Input.Package.size(), Buffer, Input.Data.size()); }
    void Plain() {
        ReferenceLzhufDecode(Input.Package.data() + LE32Bytes, Input.Package.size() - LE32Bytes, Reference.data(),
                             static_cast<unsigned long>(Input.Data.size()));
    }
    bool Correct() {
        const auto& data = Input.Data;
        const auto same = [&](const uint8_t* bytes, size_t size) {
            return size >= data.size() && std::equal(data.begin(), data.end(), bytes);
        };
        return same(Archive.Memory(), static_cast<size_t>(Archive.Size())) && same(Buffer.data(), Buffer.size()) &&
               same(Reference.data(), Reference.size());
    }
};

template <class Work>
double Timed(Work work) {
    const double start = CpuSeconds();
    work();
    return CpuSeconds() - start;
}

void Measure(const TInput& input, const TOptions& options) {
    if (input.Data.empty() || input.Package.size() < LE32Bytes) {
        std::printf("%-16s no data\n", input.Label.c_str());
        return;
    }
    TDecoders decoders(input);
    std::vector<double> streams, buffers, reference;
    double total = 0;
    for (int round = 0; options.Rounds > 0 ? round < options.Rounds : (round < MinRounds || total < MinSeconds);
         ++round) {
        // Interleaved, and the order turned each round, so a slow spell of
        // the shared machine falls on all three alike.
        const int order = round % 3;
        for (int k = 0; k < 3; ++k) {
            switch ((order + k) % 3) {
            case 0: streams.push_back(Timed([&] { decoders.Streams(); })); break;
            case 1: buffers.push_back(Timed([&] { decoders.Buffers(); })); break;
            case 2: reference.push_back(Timed([&] { decoders.Plain(); })); break;
            }
        }
        total += reference.back();
        if (round == 0 && !decoders.Correct()) {
            std::printf("%-16s decoded data differs\n", input.Label.c_str());
            return;
        }
    }
    const double mb = static_cast<double>(input.Data.size()) / BytesPerMB;
    const double streamsRate = mb / Median(streams), buffersRate = mb / Median(buffers);
    const double referenceRate = mb / Median(reference);
    std::printf("%-16s %9zu -> %8zu (%5.1f %%)  ", input.Label.c_str(), input.Data.size(), input.Package.size(),
                100.0 * static_cast<double>(input.Package.size()) / static_cast<double>(input.Data.size()));
    if (input.EncodeSeconds > 0) {
        std::printf("encode %5.2f  ", mb / input.EncodeSeconds);
    } else {
        std::printf("encode   -    ");
    }
    std::printf("reference %7.2f  engine streams %7.2f (x%.2f)  buffers %7.2f (x%.2f)  [%zu rounds]\n", referenceRate,
                streamsRate, streamsRate / referenceRate, buffersRate, buffersRate / referenceRate, reference.size());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    TOptions options;
    std::vector<std::string> skins;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) {
            options.Rounds = std::atoi(argv[++i]);
        } else if (arg == "--filter" && i + 1 < argc) {
            options.Filter = argv[++i];
        } else {
            skins.push_back(arg);
        }
    }
    const auto wanted = [&](const std::string& label) {
        return options.Filter.empty() || label.find(options.Filter) != std::string::npos;
    };

    std::printf("MB/s of unpacked data, median processor time; x = engine / reference\n");
    for (const std::string& skin : skins) {
        const std::string label = std::filesystem::path(skin).filename().string();
        if (wanted(label)) Measure(SkinInput(skin), options);
    }
    using TMaker = std::vector<uint8_t> (*)(size_t, std::mt19937&);
    const struct {
        const char* Name;
        TMaker Make;
    } kinds[] = {{"text", MakeText},
                 {"bitmap", [](size_t size, std::mt19937&) { return MakeBitmaps(size); }},
                 {"repetitive", MakeRepetitive},
                 {"random", MakeRandom}};
    const size_t sizes[] = {100 * 1024, 1024 * 1024, 8 * 1024 * 1024};
    for (const auto& kind : kinds) {
        for (const size_t size : sizes) {
            const std::string label = std::string(kind.Name) + " " + SizeLabel(size);
            if (!wanted(label)) continue;
            std::mt19937 random(Seed);
            Measure(Encoded(label, kind.Make(size, random)), options);
        }
    }
    return 0;
}
