// Times a sweep of 1000 full-sized save folders against merely opening and closing
// their tables, the least any sweep has to do.
//
//   sweep_benchmark [benchmark flags]   run the benchmarks, then print the ratios
//   sweep_benchmark --sweep-once N      build 1000 tables of N records, sweep once
//   sweep_benchmark --build-only N      the same without the sweep (strace baseline)

#include "core/GamePaths.h"
#include "core/LittleEndian.h"
#include "core/SaveSweep.h"
#include "tests/support/ForwardingFileSystem.h"
#include "core/TeamGearLayout.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "tests/support/TestSupport.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace kitloom;
namespace fs = std::filesystem;

constexpr int kFolderCount = 1000;
constexpr std::uint32_t kBenchmarkRecords = 998;

using test::TempFolder;

std::uint64_t tableSize(std::uint32_t records) { return teamgear::recordOffset(records); }

void buildGame(const TempFolder& game, std::uint32_t records)
{
    const test::Bytes bytes = test::makeTable(records);
    for (int folder = 0; folder < kFolderCount; ++folder) {
        fs::path table = numberedSaveTablePath(game.prefix(), folder);
        fs::create_directories(table.parent_path());
        std::ofstream out(table, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + table.string());
    }
}

// Forwards everything but flush().
class NoSyncFile final : public OpenFile {
public:
    explicit NoSyncFile(std::unique_ptr<OpenFile> file) : file_(std::move(file)) {}
    Done readAt(std::uint64_t offset, void* buffer, std::size_t count) override
    {
        return file_->readAt(offset, buffer, count);
    }
    Done writeAt(std::uint64_t offset, const void* data, std::size_t count) override
    {
        return file_->writeAt(offset, data, count);
    }
    Done size(std::uint64_t& size) override { return file_->size(size); }
    Done flush() override { return {}; }
    Done truncate(std::uint64_t size) override { return file_->truncate(size); }
    Done lockExclusive(std::uint64_t offset, std::uint64_t length, int waitMilliseconds) override
    {
        return file_->lockExclusive(offset, length, waitMilliseconds);
    }

private:
    std::unique_ptr<OpenFile> file_;
};

// The system file system with flush() made a no-op, to see what fsync costs.
class NoSyncFileSystem final : public test::ForwardingFileSystem {
public:
    Opened openForUpdate(const std::string& path) override
    {
        Opened opened = systemFileSystem().openForUpdate(path);
        if (opened.file)
            opened.file = std::make_unique<NoSyncFile>(std::move(opened.file));
        return opened;
    }
};

bool sweepOnce(FileSystem& fileSystem, const TempFolder& game)
{
    const JerseySpec jersey = test::exampleJersey(1);
    const SweepReport job = SaveSweep(fileSystem).append(SaveTarget::everyNumberedSave(game.prefix()), jersey);
    return job.outcome == SweepOutcome::Done && !job.anyTableFailed();
}

// Checks that every table got exactly one record, then takes it off again and syncs,
// so the next timed sweep starts from clean, pristine tables.
bool restoreGame(const TempFolder& game, std::uint32_t records)
{
    const std::uint64_t original = tableSize(records);
    std::uint8_t count[teamgear::kRecordCountSize];
    for (int folder = 0; folder < kFolderCount; ++folder) {
        auto table = systemFileSystem().openForUpdate(numberedSaveTablePath(game.prefix(), folder)).file;
        std::uint64_t size = 0;
        if (!table || !table->size(size) || size != original + teamgear::kRecordSize ||
            !table->readAt(teamgear::kRecordCountOffset, count, sizeof count) ||
            littleendian::readUInt32(count) != records + 1)
            return false;
        littleendian::writeUInt32(count, records);
        if (!table->writeAt(teamgear::kRecordCountOffset, count, sizeof count) || !table->truncate(original))
            return false;
    }
    int directory = ::open(game.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool synced = directory >= 0 && ::syncfs(directory) == 0;
    if (directory >= 0)
        ::close(directory);
    return synced;
}

TempFolder* benchmarkGame = nullptr;

void runSweep(benchmark::State& state, FileSystem& fileSystem)
{
    for (auto _ : state) {
        bool ok = sweepOnce(fileSystem, *benchmarkGame);
        state.PauseTiming();
        if (!ok || !restoreGame(*benchmarkGame, kBenchmarkRecords)) {
            state.SkipWithError("a table was not appended to, or could not be restored");
            break;
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFolderCount);
}

void sweep(benchmark::State& state) { runSweep(state, systemFileSystem()); }

void sweepWithoutFsync(benchmark::State& state)
{
    NoSyncFileSystem fileSystem;
    runSweep(state, fileSystem);
}

void openAndClose(benchmark::State& state)
{
    std::vector<std::string> paths;
    for (int folder = 0; folder < kFolderCount; ++folder)
        paths.push_back(numberedSaveTablePath(benchmarkGame->prefix(), folder));
    for (auto _ : state) {
        for (const std::string& path : paths) {
            auto table = systemFileSystem().openForUpdate(path).file;
            if (!table) {
                state.SkipWithError("a table could not be opened");
                return;
            }
            benchmark::DoNotOptimize(table);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolderCount);
}

// Keeps the wall time of each benchmark, averaged over repetitions, so main can
// print the ratios. With --benchmark_report_aggregates_only only the mean comes.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            Times& times = times_[run.run_name.function_name];
            if (run.run_type == Run::RT_Iteration) {
                times.sum += seconds;
                ++times.runs;
            } else if (run.aggregate_name == "mean") {
                times.mean = seconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Seconds per iteration; 0 when the benchmark did not run.
    double secondsOf(const std::string& name) const
    {
        auto found = times_.find(name);
        if (found == times_.end())
            return 0;
        const Times& times = found->second;
        return times.mean > 0 ? times.mean : times.runs > 0 ? times.sum / times.runs : 0;
    }

private:
    struct Times {
        double sum = 0;
        int runs = 0;
        double mean = 0;
    };
    std::map<std::string, Times> times_;
};

std::uint32_t recordsArgument(const char* text)
{
    unsigned long records = std::strtoul(text, nullptr, 10);
    if (records < 1 || records >= teamgear::kFullRecordCount)
        throw std::runtime_error("records must be 1 to 998");
    return static_cast<std::uint32_t>(records);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const bool sweepOnly = argc == 3 && std::strcmp(argv[1], "--sweep-once") == 0;
        const bool buildOnly = argc == 3 && std::strcmp(argv[1], "--build-only") == 0;
        if (sweepOnly || buildOnly) {
            TempFolder game;
            buildGame(game, recordsArgument(argv[2]));
            if (sweepOnly && !sweepOnce(systemFileSystem(), game)) {
                std::fprintf(stderr, "the sweep failed\n");
                return 1;
            }
            return 0;
        }

        // Wall time: fsync waits for the disk without using the processor.
        benchmark::RegisterBenchmark("sweep", sweep)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark("sweep_without_fsync", sweepWithoutFsync)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark("floor", openAndClose)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return 1;
        TempFolder game;
        buildGame(game, kBenchmarkRecords);
        benchmarkGame = &game;
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        benchmarkGame = nullptr;

        if (double floorTime = reporter.secondsOf("floor"); floorTime > 0) {
            for (const char* name : {"sweep", "sweep_without_fsync"})
                if (double time = reporter.secondsOf(name); time > 0)
                    std::printf("%s/floor = %.2f (%.1f us against %.1f us per table)\n", name, time / floorTime,
                                time / kFolderCount * 1e6, floorTime / kFolderCount * 1e6);
        }
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "sweep_benchmark: %s\n", failure.what());
        return 1;
    }
}
