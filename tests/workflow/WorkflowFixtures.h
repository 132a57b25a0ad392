#pragma once

#include "support/TempDir.h"

#include "app/AtomicFile.h"
#include "app/Notifier.h"
#include "gen/MarkerGenerator.h"
#include "hpgl/CHpglFile.h"
#include "link/UsbBackend.h"
#include "model/COnePage.h"
#include "workflow/HeadlessOwner.h"
#include "workflow/OutputCentre.h"
#include "workflow/WorkflowObserver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace qv::test {

// What the workflow told its owner; written and read on the owner thread (tests read it through Call).
class RecordingObserver : public WorkflowObserver {
public:
    struct StateChange {
        std::string name;
        int32_t from;
        int32_t to;
    };

    void TaskListChanged() override { ++refills; }
    void ShowPage(std::ptrdiff_t index) override { shown.push_back(index); }
    void FileRead(const std::string& path, int32_t result, std::size_t pages, bool deleted) override
    {
        reads.push_back({path, result, pages, deleted});
    }
    void PageStateChanged(std::size_t, const COnePage& page, int32_t from) override
    {
        changes.push_back({page.fileName, from, page.state});
    }
    void PagesRemoved(std::size_t count) override { removed += count; }
    void DataDirWatched(const std::string& dir, const std::string& failure) override
    {
        watches.emplace_back(dir, failure);
    }

    struct Read {
        std::string path;
        int32_t result;
        std::size_t pages;
        bool deleted;
    };
    int refills = 0;
    std::vector<std::ptrdiff_t> shown;
    std::vector<Read> reads;
    std::vector<StateChange> changes;
    std::size_t removed = 0;
    std::vector<std::pair<std::string, std::string>> watches;
};

// A USB library that finds no machine.
class NoUsb : public UsbBackend {
public:
    int RefreshDevices() override { return 0; }
    std::unique_ptr<UsbDeviceHandle> OpenDevice(uint16_t, uint16_t) override { return nullptr; }
};

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The whole file at `path`; empty when it cannot be read.
inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string SettingsIni(const std::vector<std::string>& lines)
{
    std::string ini = "[Para]\n";
    for (const std::string& line : lines)
        ini += line + "\n";
    return ini;
}

// A page of one two-point curve (or none) named `name`.
inline std::unique_ptr<COnePage> MakePage(const std::string& name, int32_t state, bool withCurve = true)
{
    auto page = std::make_unique<COnePage>();
    page->fileName = name;
    page->pageNumber = 1;
    page->state = state;
    if (withCurve) {
        CCurve& curve = page->AddCurve();
        curve.kind = CurveKind::FullCut;
        curve.AddPoint(400, 400);
        curve.AddPoint(2000, 1200);
        page->maxX = 2000;
        page->maxY = 1200;
        page->minX = 400;
        page->minY = 400;
    }
    return page;
}

// Polls `done` (on the calling thread) every 20 ms until it holds or `limit` passes.
inline bool Eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace qv::test

namespace qv {

// The tests' view of the parts of an output centre, which front ends never see.
struct OutputCentreProbe {
    explicit OutputCentreProbe(OutputCentre& c)
        : doc(c.doc_), engine(c.engine_), settings(c.settings_), params(c.params_), link(c.link_), queue(c.queue_),
          jobPage(c.jobPage_), monitor(c.monitor_), tick(c.tick_), watcher(c.watcher_)
    {
    }

    CQuorvaneDoc& doc;
    WorkflowEngine& engine;
    CSettings& settings;
    MachineParamsStore& params;
    LinkState& link;
    ManualCommandQueue& queue;
    COnePage& jobPage;
    LinkMonitorThread& monitor;
    TickThread& tick;
    FileWatcherThread& watcher;
};

} // namespace qv

namespace qv::test {

// An output centre in a fresh directory with the given settings, on a headless owner thread, driven from the
// test thread as a window drives it; no background thread runs until the test starts them.
struct CentreFixture {
    explicit CentreFixture(const std::vector<std::string>& ini = {}, UsbBackend* usb = nullptr)
    {
        WriteFile(exe.File("setting.ini"), SettingsIni(ini));
        centre = std::make_unique<OutputCentre>(exe.Path(), owner->Bridge(), notifier, usb ? *usb : noUsb, observer);
        c = std::make_unique<OutputCentreProbe>(*centre);
    }

    // Runs `work` on the owner thread.
    void OnOwner(const std::function<void()>& work) { ASSERT_TRUE(owner->Call(work)); }
    bool Call(const std::function<void()>& work) { return owner->Call(work); }
    void Start()
    {
        OnOwner([&] { centre->Start(); });
    }
    // The first poll: from here on the watch sees writers finish the files they drop.
    void WatchDataDir()
    {
        OnOwner([&] { c->engine.PollDataDir(); });
    }
    // As the main window closes; the owner thread ends with it.
    void Close() { owner->Close(*centre); }

    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        OnOwner([&] {
            for (const auto& page : c->doc.pages)
                names.push_back(page->fileName);
        });
        return names;
    }
    std::vector<int32_t> States()
    {
        std::vector<int32_t> states;
        OnOwner([&] {
            for (const auto& page : c->doc.pages)
                states.push_back(page->state);
        });
        return states;
    }
    std::string DataFile(const std::string& name) const { return c->settings.DataDir + name; }

    TempDir exe;
    RecordingNotifier notifier;
    NoUsb noUsb;
    RecordingObserver observer;
    std::unique_ptr<HeadlessOwner> owner = std::make_unique<HeadlessOwner>();
    std::unique_ptr<OutputCentre> centre;
    std::unique_ptr<OutputCentreProbe> c;
};

// Reads a drawing into `doc` as the intake does: its pages appended, tidied and cut into pages.
inline void ImportPlt(const std::string& bytes, const CSettings& settings, CQuorvaneDoc& doc)
{
    TempDir dir;
    WriteFile(dir.File("drawing.plt"), bytes);
    RecordingNotifier notifier;
    CHpglFile reader;
    reader.path = dir.File("drawing.plt");
    EXPECT_EQ(reader.Load(settings, notifier), HpglLoadResult::Ok);
    reader.BuildPages(doc.pages, settings);
    doc.CleanUpImportedPages(ImportOptionsOf(settings));
    doc.PaginatePages(ImportOptionsOf(settings));
}

// A small drawing of a printed and cut square.
inline std::string SquarePlt(int cm = 10)
{
    return gen::GenerateTestSquarePlt(cm, false);
}

} // namespace qv::test
