// What dragging the tick-rate thumb costs: one edit and a whole-file save per step.
#include "settings/clsINI.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class SilentInteraction : public brivane::UserInteraction {
public:
    brivane::UserReply Show(const brivane::UserMessage&) override { return {}; }
};

std::string MakeFolder()
{
    char pattern[] = "/tmp/brivane-bench-XXXXXX";
    return ::mkdtemp(pattern);
}

void TimeLoading(benchmark::State& state, const std::string& path)
{
    SilentInteraction ui;
    brivane::clsINI ini(ui);
    for (auto _ : state) {
        ini.LoadINI(path);
        benchmark::DoNotOptimize(ini.Sections().data());
    }
}

void BM_WriteValueAndSave(benchmark::State& state)
{
    const std::string folder = MakeFolder();
    SilentInteraction ui;
    brivane::clsINI ini(ui);
    ini.LoadINI(folder + "/Brivane.ini");
    ini.WriteValue("General", "Folder", "/home/user/music/duke2");
    ini.WriteValue("General", "MakeBackups", "1");
    int tics = 100;
    for (auto _ : state) {
        ini.WriteValue("General", "OriginalTics", std::to_string(tics));
        tics = tics == 700 ? 100 : tics + 1;
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteValueAndSave)->Unit(benchmark::kMicrosecond);

void BM_Load1000Lines(benchmark::State& state)
{
    const std::string folder = MakeFolder();
    const std::string path = folder + "/big.ini";
    {
        std::ofstream out(path, std::ios::binary);
        for (int line = 0; line < 1000; ++line) {
            if (line % 50 == 0)
                out << "[Section" << line / 50 << "]\r\n";
            else
                out << "Key" << (line * 7919) % 1000 << "=value number " << line << "\r\n";
        }
    }
    TimeLoading(state, path);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Load1000Lines)->Unit(benchmark::kMicrosecond);

// The largest settings file Brivane reads, made of the key lines that cost the insertion rule
// most: one section of equal names (each goes after all the others) or of numbers.
void BM_LoadOneMebibyteOfKeys(benchmark::State& state)
{
    const std::string folder = MakeFolder();
    const std::string path = folder + "/huge.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "[General]\r\n";
        for (std::size_t written = 11; written + 9 <= (1u << 20); written += 9)
            out << (state.range(0) ? "000042=\r\n" : "OneKey=\r\n");
    }
    TimeLoading(state, path);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadOneMebibyteOfKeys)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
