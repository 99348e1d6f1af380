// Demo: worker threads that take paths apart and list a directory, and a
// busy thread that is paused, resumed and stopped.
#include "demo.h"

#include <zop/zop.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Takes each path of a list apart: its folder names (split at separators) and
// the count of files per extension.  Results are read after join().
class PathSurvey : public zop::Thread {
public:
    explicit PathSurvey(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}

    void run() override {
        for (const std::wstring& path : paths_) {
            std::vector<std::wstring> parts;
            zop::split_string(zop::Path::directory_name(path), parts, zop::Path::separator_chars);
            for (const std::wstring& part : parts) {
                if (!part.empty()) ++folders;
            }
            std::wstring ext = zop::Path::extension_name(zop::trim(path));
            ++by_extension[ext.empty() ? L"(none)" : ext];
        }
    }

    std::size_t folders = 0;
    std::map<std::wstring, int> by_extension;

private:
    std::vector<std::wstring> paths_;
};

// Lists the files in a directory.
class Lister : public zop::Thread {
public:
    explicit Lister(std::wstring dir) : dir_(std::move(dir)) {}
    void run() override { zop::Directory(dir_).list_files(files, L"*"); }
    std::vector<std::wstring> files;

private:
    std::wstring dir_;
};

// Counts until asked to stop, then returns on its own.
class Polite : public zop::Thread {
public:
    void run() override {
        while (!stop_requested()) count.fetch_add(1, std::memory_order_relaxed);
    }
    ~Polite() override { request_stop(); join(); }
    std::atomic<long> count{0};
};

// Counts as fast as it can until it is stopped.
class Spinner : public zop::Thread {
public:
    void run() override {
        for (;;) count.fetch_add(1, std::memory_order_relaxed);
    }
    ~Spinner() override { stop(); join(); }
    std::atomic<long> count{0};
};

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

void demo_thread() {
    using namespace zop;

    section(L"Threads");
    const std::vector<std::wstring> batches[] = {
        {L"C:\\Reports\\2026\\summary.txt", L"C:\\Reports\\2026\\q1\\sales.csv", L"D:\\tmp\\x"},
        {L"\\\\server\\share\\docs\\plan.docx", L"  notes.txt  ", L"C:\\a\\b\\c\\d\\e.txt"},
        {L"/usr/share/doc/readme.md", L"C:\\Windows\\system32\\kernel32.dll"},
    };
    std::vector<std::unique_ptr<PathSurvey>> surveys;
    for (const auto& batch : batches) surveys.push_back(std::make_unique<PathSurvey>(batch));
    Lister lister(Path::current_module_path());
    for (auto& s : surveys) s->start();
    lister.start();
    Thread::wait_all(-1);  // every registered thread has ended
    for (auto& s : surveys) {
        std::wstring line = L"  " + s->thread_name() + L": " + std::to_wstring(s->folders) + L" folders;";
        for (const auto& [ext, n] : s->by_extension) line += L" " + ext + L" x" + std::to_wstring(n);
        print(line);
    }
    print(L"  " + lister.thread_name() + L": " + std::to_wstring(lister.files.size()) +
          L" files beside the demo program");

    Spinner spinner;
    spinner.start();
    pause_ms(20);
    spinner.pause();
    pause_ms(10);
    const long paused_at = spinner.count.load();
    pause_ms(30);
    print(L"  " + spinner.thread_name() + L" paused: count held at " + std::to_wstring(paused_at) +
          (spinner.count.load() == paused_at ? L" (still)" : L" (moved!)"));
    spinner.resume();
    pause_ms(20);
    print(L"  resumed: count " + std::to_wstring(spinner.count.load()) + L", running: " +
          (spinner.is_running() ? L"yes" : L"no"));
    spinner.stop();
    spinner.join();
    print(std::wstring(L"  stopped: running: ") + (spinner.is_running() ? L"yes" : L"no"));

    Polite polite;
    polite.start();
    const bool early = polite.join(20);
    polite.request_stop();
    print(L"  " + polite.thread_name() + L" (the name tools such as top -H show): ended within 20 ms: " +
          (early ? L"yes" : L"no") + L"; after request_stop(): " + (polite.join(5000) ? L"ended" : L"still running"));
}
