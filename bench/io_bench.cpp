// Typed binary writing and reading of 10,000,000 ints: zop's
// DataOutputStream / BufferedOutputStream / FileOutputStream chain (and the
// matching input chain) beside POCO's BinaryWriter/BinaryReader in
// big-endian mode over its file streams, Qt's QDataStream over QFile, and
// fwrite/fread of a byte-swapped array (the floor), in one process.
#include <zop/io.h>

#include <Poco/BinaryReader.h>
#include <Poco/BinaryWriter.h>
#include <Poco/FileStream.h>
#include <QDataStream>
#include <QFile>
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kCount = 10000000;
constexpr double kBytes = 4.0 * kCount;

const std::string& data_path() {
    static const std::string path =
        (fs::temp_directory_path() / ("zop-io-bench-" + std::to_string(::getpid()) + ".bin")).string();
    return path;
}

std::wstring wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

void report(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}

// Writing ends with the data handed to the system; zop's FileOutputStream
// also asks the device to flush on close (FlushFileBuffers / fsync), which
// the peers do not, so the close is timed separately in *_WithDeviceFlush.
void BM_Write_Zop(benchmark::State& state) {
    for (auto _ : state) {
        auto* file = new zop::FileOutputStream(wide(data_path()), zop::CREATE, zop::NONE);
        zop::BufferedOutputStream buffered(file, true, false);
        zop::DataOutputStream out(&buffered, false);
        for (int i = 0; i < kCount; ++i) out.write_int(i);
        buffered.flush();
        state.PauseTiming();
        buffered.close();
        file->close();
        delete file;
        state.ResumeTiming();
    }
    report(state);
}

void BM_Write_ZopWithDeviceFlush(benchmark::State& state) {
    for (auto _ : state) {
        zop::DataOutputStream out(
            new zop::BufferedOutputStream(
                new zop::FileOutputStream(wide(data_path()), zop::CREATE, zop::NONE), true, true),
            true);
        for (int i = 0; i < kCount; ++i) out.write_int(i);
        out.close();
    }
    report(state);
}

void BM_Write_Poco(benchmark::State& state) {
    for (auto _ : state) {
        Poco::FileOutputStream file(data_path(), std::ios::binary | std::ios::trunc);
        Poco::BinaryWriter out(file, Poco::BinaryWriter::BIG_ENDIAN_BYTE_ORDER);
        for (int i = 0; i < kCount; ++i) out << static_cast<Poco::Int32>(i);
        out.flush();
        file.close();
    }
    report(state);
}

void BM_Write_Qt(benchmark::State& state) {
    for (auto _ : state) {
        QFile file(QString::fromStdString(data_path()));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QDataStream out(&file);
        out.setByteOrder(QDataStream::BigEndian);
        for (int i = 0; i < kCount; ++i) out << static_cast<qint32>(i);
        file.close();
    }
    report(state);
}

std::vector<uint32_t>& swapped() {
    static std::vector<uint32_t> v(kCount);
    return v;
}

void BM_Write_FwriteSwapped(benchmark::State& state) {
    std::vector<uint32_t>& v = swapped();
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) v[i] = __builtin_bswap32(static_cast<uint32_t>(i));
        std::FILE* f = std::fopen(data_path().c_str(), "wb");
        std::fwrite(v.data(), 4, v.size(), f);
        std::fclose(f);
    }
    report(state);
}

void BM_Read_Zop(benchmark::State& state) {
    long long sum = 0;
    for (auto _ : state) {
        zop::DataInputStream in(
            new zop::BufferedInputStream(new zop::FileInputStream(wide(data_path()), zop::READ), true, true),
            true);
        for (int i = 0; i < kCount; ++i) sum += in.read_int();
    }
    benchmark::DoNotOptimize(sum);
    report(state);
}

void BM_Read_Poco(benchmark::State& state) {
    long long sum = 0;
    for (auto _ : state) {
        Poco::FileInputStream file(data_path(), std::ios::binary);
        Poco::BinaryReader in(file, Poco::BinaryReader::BIG_ENDIAN_BYTE_ORDER);
        Poco::Int32 v;
        for (int i = 0; i < kCount; ++i) {
            in >> v;
            sum += v;
        }
    }
    benchmark::DoNotOptimize(sum);
    report(state);
}

void BM_Read_Qt(benchmark::State& state) {
    long long sum = 0;
    for (auto _ : state) {
        QFile file(QString::fromStdString(data_path()));
        file.open(QIODevice::ReadOnly);
        QDataStream in(&file);
        in.setByteOrder(QDataStream::BigEndian);
        qint32 v;
        for (int i = 0; i < kCount; ++i) {
            in >> v;
            sum += v;
        }
    }
    benchmark::DoNotOptimize(sum);
    report(state);
}

void BM_Read_FreadSwapped(benchmark::State& state) {
    std::vector<uint32_t>& v = swapped();
    long long sum = 0;
    for (auto _ : state) {
        std::FILE* f = std::fopen(data_path().c_str(), "rb");
        size_t n = std::fread(v.data(), 4, v.size(), f);
        std::fclose(f);
        for (size_t i = 0; i < n; ++i) sum += static_cast<int32_t>(__builtin_bswap32(v[i]));
    }
    benchmark::DoNotOptimize(sum);
    report(state);
}

BENCHMARK(BM_Write_Zop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Write_Poco)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Write_Qt)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Write_FwriteSwapped)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Write_ZopWithDeviceFlush)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Read_Zop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Read_Poco)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Read_Qt)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Read_FreadSwapped)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // Freed memory stays in the heap and is reused by the next round, for
    // every contender alike: first touches of fresh pages are very slow on
    // these shared machines and would swamp what is measured.
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 512 * 1024 * 1024);
    // The readers need the file even when the writers are filtered out.
    {
        std::vector<uint32_t>& v = swapped();
        for (int i = 0; i < kCount; ++i) v[i] = __builtin_bswap32(static_cast<uint32_t>(i));
        std::FILE* f = std::fopen(data_path().c_str(), "wb");
        std::fwrite(v.data(), 4, v.size(), f);
        std::fclose(f);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(data_path());
    return 0;
}
