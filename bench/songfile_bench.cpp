// The door's cost where it meets many files and large ones, each beside its yardstick in the
// same run: telling the kind of each of 10,000 files in a folder by its signature, as a batch
// does before it converts, against listing the folder (yardstick: at most 1.2 times), and
// `info` of a 3 GB file, refused by its size unread, against reading 64 bytes of it.
#include "conversion/ImfInfo.h"
#include "platform/FileSystem.h"
#include "songfile/ImfPaths.h"
#include "songfile/SongFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Folder(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

// 10,000 songs of 4 KB, one in ten a DRO capture.
const std::string& ManyFiles()
{
    static const std::string folder = [] {
        const std::string made = Folder("brivane-door-bench");
        std::filesystem::remove_all(made);
        std::filesystem::create_directories(made);
        Bytes song(4096, 0x20), capture{'D', 'B', 'R', 'A', 'W', 'O', 'P', 'L', 2, 0, 0, 0};
        capture.resize(4096, 0);
        for (int i = 0; i < 10000; ++i)
            brivane::ReplaceFile(made + "/song" + std::to_string(i) + ".imf", i % 10 ? song : capture, "a bench file",
                                 {brivane::Durability::Buffered, brivane::Links::Follow, {}, {}});
        return made;
    }();
    return folder;
}

void BM_ListFolder(benchmark::State& state)
{
    const std::string& folder = ManyFiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::VisibleFilesIn(folder));
}

void BM_SniffFolder(benchmark::State& state)
{
    const std::string& folder = ManyFiles();
    for (auto _ : state) {
        std::size_t timed = 0;
        for (const std::string& name : brivane::VisibleFilesIn(folder))
            timed += brivane::IsTimedSongSignature(
                brivane::ReadFileStart(brivane::JoinPath(folder, name), brivane::kSignatureBytes));
        benchmark::DoNotOptimize(timed);
    }
}

const std::string& LargeFile()
{
    static const std::string path = [] {
        const std::string made = Folder("brivane-door-bench-large.imf");
        brivane::ReplaceFile(made, Bytes(64, 0), "a bench file");
        std::filesystem::resize_file(made, std::uintmax_t{3} << 30); // sparse
        return made;
    }();
    return path;
}

void BM_InfoOfA3GbFile(benchmark::State& state)
{
    const std::string& path = LargeFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::DescribeImf(path, {}));
}

void BM_Read64BytesOfIt(benchmark::State& state)
{
    const std::string& path = LargeFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::ReadFileStart(path, 64));
}

BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SniffFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InfoOfA3GbFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read64BytesOfIt)->Unit(benchmark::kMicrosecond);

} // namespace
