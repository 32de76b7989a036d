// Loading a full-size image and computing the BIN panel checksums, measured
// against zlib's crc32 over the same bytes as the yardstick.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include "rom/checksums.h"
#include "rom/rom_image.h"
#include "test_support.h"

namespace {

const std::vector<std::uint8_t>& image()
{
    static const std::vector<std::uint8_t> bytes = randomBytes(kMaxRomSize, 7);
    return bytes;
}

void BM_LoadAndChecksums(benchmark::State& state)
{
    TempDir dir;
    const std::string path = dir.file("image.bin");
    writeBytes(path, image());
    RomBuffer buffer;
    for (auto _ : state) {
        if (loadRomImage(buffer, path, "image.bin") != RomStatus::Loaded) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(imageChecksums(buffer.data.data(), buffer.data.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kMaxRomSize);
}
BENCHMARK(BM_LoadAndChecksums)->Unit(benchmark::kMicrosecond);

void BM_ImageChecksums(benchmark::State& state)
{
    const auto& bytes = image();
    for (auto _ : state)
        benchmark::DoNotOptimize(imageChecksums(bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kMaxRomSize);
}
BENCHMARK(BM_ImageChecksums)->Unit(benchmark::kMicrosecond);

void BM_ThreeSingleChecksums(benchmark::State& state)
{
    const auto& bytes = image();
    for (auto _ : state) {
        benchmark::DoNotOptimize(checksum8(bytes.data(), bytes.size()));
        benchmark::DoNotOptimize(checksum16(bytes.data(), bytes.size()));
        benchmark::DoNotOptimize(checksum32(bytes.data(), bytes.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kMaxRomSize);
}
BENCHMARK(BM_ThreeSingleChecksums)->Unit(benchmark::kMicrosecond);

void BM_ZlibCrc32(benchmark::State& state)
{
    const auto& bytes = image();
    for (auto _ : state)
        benchmark::DoNotOptimize(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kMaxRomSize);
}
BENCHMARK(BM_ZlibCrc32)->Unit(benchmark::kMicrosecond);

} // namespace
