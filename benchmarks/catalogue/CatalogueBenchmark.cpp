// The catalogue's scans side by side with the least a scan can do: a plain readdir walk
// over the same folders that matches the same pattern (letters ignoring case), sorts the
// names ignoring case and builds the same paths. Both run on warm caches in one run, and
// the program prints each pair's ratio at the end.
//
// The fixture is a kiosk folder of empty files: 50 category folders of 2,000 pictures
// each, every picture with its "_" thumbnail (100,000 pictures in 200,000 files), and a
// separate 5,000-picture category, also with thumbnails.

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int categoryCount = 50;
constexpr int picturesPerCategory = 2'000;
constexpr int bigCategoryPictures = 5'000;

const char* const searchText = "";
const std::array<const char*, 8> words{"Oak", "table", "RED", "chair", "Boot", "lamp", "Blue", "shelf"};

class SilentMessageBox final : public quindle::MessageBox
{
public:
    void show(const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
};

void touch(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    ::close(fd);
}

void fillCategory(const std::string& folder, int pictures, int seed)
{
    ::mkdir(folder.c_str(), 0755);
    for (int i = 0; i < pictures; ++i) {
        const std::string name = std::string(words[static_cast<size_t>((i + seed) % 8)]) + " " +
                                 std::to_string(100'000 + (i * 7919 + seed) % 900'000) + " " +
                                 words[static_cast<size_t>((i / 8 + seed) % 8)] + ".jpg";
        touch(folder + "/" + name);
        touch(folder + "/_" + name);
    }
}

// Builds the fixture once; a folder that already holds it is used as it is.
void buildFixture(const std::string& root)
{
    const std::string marker = root + "/.complete";
    if (::access(marker.c_str(), F_OK) == 0)
        return;
    std::filesystem::create_directories(root + "/kiosk/Attract");
    std::filesystem::create_directories(root + "/kiosk/Interface");
    std::filesystem::create_directories(root + "/big");
    char name[32];
    for (int c = 0; c < categoryCount; ++c) {
        std::snprintf(name, sizeof name, "Category %02d", c);
        fillCategory(root + "/kiosk/" + name, picturesPerCategory, c);
    }
    fillCategory(root + "/big/Lamps", bigCategoryPictures, 99);
    touch(marker);
}

bool caseBlindMatch(const char* name, const char* text, const char* extension)
{
    const size_t length = std::strlen(name);
    const size_t extensionLength = std::strlen(extension);
    if (length < extensionLength || ::strcasecmp(name + length - extensionLength, extension) != 0)
        return false;
    const std::string stem(name, length - extensionLength);
    return *text == '\0' || ::strcasestr(stem.c_str(), text) != nullptr;
}

bool lessCaseBlind(const std::string& a, const std::string& b)
{
    const int order = ::strcasecmp(a.c_str(), b.c_str());
    return order != 0 ? order < 0 : a < b;
}

std::vector<std::string> readNames(const std::string& folder, unsigned char type, const char* text)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' || entry->d_type != type)
            continue;
        if (type == DT_DIR || caseBlindMatch(entry->d_name, text, ".jpg"))
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), lessCaseBlind);
    return names;
}

void appendPlainPictures(std::vector<std::string>& list, const std::string& folder, const char* text)
{
    for (const std::string& name : readNames(folder, DT_REG, text)) {
        if (name.find('_') == std::string::npos)
            list.push_back(folder + "/" + name);
    }
}

std::vector<std::string> plainSearch(const std::string& kiosk, const char* text)
{
    std::vector<std::string> list;
    for (const std::string& folder : readNames(kiosk, DT_DIR, text)) {
        if (::strncasecmp(folder.c_str(), "attract", 7) == 0 ||
            ::strncasecmp(folder.c_str(), "interface", 9) == 0)
            continue;
        appendPlainPictures(list, kiosk + "/" + folder, text);
    }
    return list;
}

std::string fixtureRoot;

void plainReaddirSearch(benchmark::State& state)
{
    const std::string kiosk = fixtureRoot + "/kiosk";
    size_t hits = 0;
    for (auto _ : state) {
        hits = plainSearch(kiosk, searchText).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["pictures"] = static_cast<double>(hits);
}

void catalogueSearchScan(benchmark::State& state)
{
    SilentMessageBox messages;
    quindle::ImmediateProgramEnd programEnd;
    quindle::Catalogue catalogue(QString::fromStdString(fixtureRoot + "/kiosk"), messages, programEnd);
    for (auto _ : state) {
        catalogue.scanPictures(quindle::ScanKind::Search, QString::fromLatin1(searchText));
        benchmark::DoNotOptimize(catalogue.searchResults().constData());
    }
    state.counters["pictures"] = catalogue.searchHitCount();
}

void plainReaddirCategory(benchmark::State& state)
{
    const std::string folder = fixtureRoot + "/big/Lamps";
    size_t count = 0;
    for (auto _ : state) {
        std::vector<std::string> list;
        appendPlainPictures(list, folder, "");
        count = list.size();
        benchmark::DoNotOptimize(count);
    }
    state.counters["pictures"] = static_cast<double>(count);
}

void catalogueCategoryScan(benchmark::State& state)
{
    SilentMessageBox messages;
    quindle::ImmediateProgramEnd programEnd;
    quindle::Catalogue catalogue(QString::fromStdString(fixtureRoot + "/big"), messages, programEnd);
    catalogue.setCurrentCategory(QStringLiteral("Lamps"));
    for (auto _ : state) {
        catalogue.scanPictures(quindle::ScanKind::Category);
        benchmark::DoNotOptimize(catalogue.imageList().constData());
    }
    state.counters["pictures"] = catalogue.imageCount();
}

// Keeps every run's real time, so that the ratios can be printed after the table.
class RecordingReporter final : public benchmark::ConsoleReporter
{
public:
    RecordingReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Iteration && run.aggregate_name != "median")
                continue;
            const double toMilliseconds = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime() * toMilliseconds;
            cpuMilliseconds[run.run_name.function_name] = run.GetAdjustedCPUTime() * toMilliseconds;
        }
    }
    std::map<std::string, double> milliseconds;
    std::map<std::string, double> cpuMilliseconds;
};

void printRatio(const RecordingReporter& reporter, const char* what, const std::string& ours,
                const std::string& plain)
{
    const double oursMs = reporter.milliseconds.at(ours);
    const double plainMs = reporter.milliseconds.at(plain);
    const double oursCpuMs = reporter.cpuMilliseconds.at(ours);
    const double plainCpuMs = reporter.cpuMilliseconds.at(plain);
    std::printf(
        "%-14s catalogue %8.2f ms   plain readdir %8.2f ms   ratio %.2f   (CPU %.2f / %.2f ms, ratio %.2f)\n",
        what, oursMs, plainMs, oursMs / plainMs, oursCpuMs, plainCpuMs, oursCpuMs / plainCpuMs);
}

} // namespace

int main(int argc, char** argv)
{
    fixtureRoot = "/tmp/quindle-catalogue-benchmark";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--fixture-folder") == 0)
            fixtureRoot = argv[i + 1];
    }
    benchmark::Initialize(&argc, argv);
    std::printf("fixture: %s\n", fixtureRoot.c_str());
    buildFixture(fixtureRoot);
    // Warm the directory caches before anything is measured.
    plainSearch(fixtureRoot + "/kiosk", "");
    readNames(fixtureRoot + "/big/Lamps", DT_REG, "");

    const auto unit = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("plainReaddirSearch", plainReaddirSearch)->Unit(unit)->MinTime(2.0);
    benchmark::RegisterBenchmark("catalogueSearchScan", catalogueSearchScan)->Unit(unit)->MinTime(2.0);
    benchmark::RegisterBenchmark("plainReaddirCategory", plainReaddirCategory)->Unit(unit)->MinTime(1.0);
    benchmark::RegisterBenchmark("catalogueCategoryScan", catalogueCategoryScan)->Unit(unit)->MinTime(1.0);

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    if (reporter.milliseconds.size() < 4)
        return 0;
    printRatio(reporter, "search scan", "catalogueSearchScan", "plainReaddirSearch");
    printRatio(reporter, "category scan", "catalogueCategoryScan", "plainReaddirCategory");
    return 0;
}
