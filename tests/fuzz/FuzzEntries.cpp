#include "FuzzEntries.h"

#include "support/TempDir.h"
#include "support/WriteFile.h"

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/IniFile.h"
#include "app/MachineParams.h"
#include "app/MachineParamsFile.h"
#include "app/MachineParamsStore.h"
#include "app/Notifier.h"
#include "hpgl/CHpglFile.h"
#include "hpgl/ShapeBytes.h"
#include "link/CMyCommu.h"
#include "link/CommandCodes.h"
#include "link/LinkProtocol.h"
#include "link/LinkState.h"
#include "link/StatusLine.h"
#include "link/UsbBackend.h"
#include "model/Archive.h"
#include "tasks/CQuorvaneDoc.h"
#include "tasks/PltExport.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace qv::fuzz {

namespace {

// One directory per process for the files the readers take by path; the fonts are written there by the
// first label reader, from the built-in ones.
const test::TempDir& Scratch()
{
    static const test::TempDir dir;
    return dir;
}

void WriteScratch(const std::string& path, std::span<const uint8_t> bytes)
{
    test::WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

class SilentNotifier : public Notifier {
public:
    MsgAnswer Show(std::string_view, std::string_view, MsgButtons, MsgIcon) override { return MsgAnswer::Ok; }
};

// The task list written, read back and exported, as saving and the export dialog do.
void WriteOut(CQuorvaneDoc& doc)
{
    ArchiveWriter out;
    doc.Serialize(out);
    PltExportOptions options;
    (void)PltExportText(doc.pages, options);
}

void ReadDrawing(const std::string& path, CSettings& settings, std::size_t pieceSize = CHpglFile::kPieceSize)
{
    SilentNotifier notifier;
    CHpglFile reader;
    reader.path = path;
    if (reader.Load(settings, notifier, pieceSize) != HpglLoadResult::Ok)
        return;
    reader.fileName = "fuzz.plt";
    CQuorvaneDoc doc;
    reader.BuildPages(doc.pages, settings);
    if (doc.TakeImportedDrawing(0, ImportOptionsOf(settings)))
        WriteOut(doc);
}

void UseFonts(CSettings& settings, const std::string& fontDir)
{
    settings.FontHzPath = fontDir + "fon_hz.bin";
    settings.FontEnPath = fontDir + "fon_en.bin";
}

} // namespace

void Hpgl(std::span<const uint8_t> bytes)
{
    const std::string path = Scratch().File("drawing.plt");
    WriteScratch(path, bytes);
    {
        // In pieces of 1 to 64 bytes, chosen by the input, so that numbers, labels and escapes straddle piece
        // boundaries; the large regression seeds in the usual pieces.
        const std::size_t piece = !bytes.empty() && bytes.size() <= 65536 ? 1 + bytes[0] % 64 : CHpglFile::kPieceSize;
        CSettings settings;
        UseFonts(settings, Scratch().Path());
        ReadDrawing(path, settings, piece);
    }
    CSettings settings;
    UseFonts(settings, Scratch().Path());
    settings.FindOutline = 1;
    settings.PLTFilePageLen = 500;
    settings.PltUnit = 1;
    settings.HCPenNumber = 3;
    settings.AutoMoveToLeft = 0;
    ReadDrawing(path, settings);
}

void TaskFile(std::span<const uint8_t> bytes)
{
    CQuorvaneDoc doc;
    try {
        ArchiveReader in(bytes, kTaskFileClasses);
        doc.Serialize(in);
    } catch (const ArchiveException&) {
        return;
    }
    WriteOut(doc);
}

void StrokeFont(std::span<const uint8_t> bytes)
{
    if (bytes.empty())
        return;
    const bool doubleByte = (bytes[0] & 1) != 0;
    const std::span<const uint8_t> file = bytes.subspan(1);
    // The other font comes from its own directory, so the file under test is never the built-in one.
    static const test::TempDir fonts;
    CSettings settings;
    UseFonts(settings, fonts.Path());
    const std::string fontPath = Scratch().File(doubleByte ? "fon_hz.bin" : "fon_en.bin");
    WriteScratch(fontPath, file);
    (doubleByte ? settings.FontHzPath : settings.FontEnPath) = fontPath;
    // Labels of single-byte and GBK characters, in every direction and slant the reader takes.
    static constexpr std::string_view kDrawing = "IN;SP1;PA100,100;SI0.3,0.5;LBAbc-_I 09\r\nxyz\x03"
                                                 "DI0.5,0.8;SL0.4;LB\xB0\xA1\xBF\xE3Q\xB0\x03"
                                                 "DR-1,2;LO5;SI2,3;LB\xC4\xE3\xBA\xC3~\x7F\x80\xFF\x03";
    const std::string drawing = Scratch().File("labels.plt");
    test::WriteFile(drawing, std::string(kDrawing));
    ReadDrawing(drawing, settings);
    for (const int64_t scale : {int64_t{1}, int64_t{16}}) {
        int64_t far = 0;
        WalkShape(file, 0, scale, [&far](const ShapeMove& m) { far = std::max(far, m.x > 0 ? m.x : -m.x); });
    }
}

void Settings(std::span<const uint8_t> bytes)
{
    const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    IniFile ini = IniFile::Parse(text);
    (void)ini.GetInt(CSettings::kSection, "PLTFilePageLen", 0);
    ini.SetInt(CSettings::kSection, "Language", 1);
    (void)ini.Serialize();
    test::WriteFile(Scratch().File(CSettings::kFileName), text);
    CSettings settings;
    CSetDisp disp;
    MachineSettings machine;
    settings.Load(Scratch().Path(), disp, machine);
    settings.Save(disp, machine);
    // The virtual machine's parameter file is read by the same kind of code.
    if (const auto params = MachineParamsFile::Parse(text))
        (void)params->Decode();
}

namespace {

// The machine's end of the USB link, speaking the bytes it is given: a length byte, then that many reply
// bytes (fewer when the data runs out). Writes always go through; the data running out is a machine that
// stops answering.
class ScriptedDevice : public UsbDeviceHandle {
public:
    explicit ScriptedDevice(std::span<const uint8_t>& script) : script_(script) {}
    int ClaimInterface(int) override { return 0; }
    int ReleaseInterface(int) override { return 0; }
    int BulkWrite(uint8_t, std::span<const uint8_t> data, unsigned) override { return static_cast<int>(data.size()); }
    int BulkRead(uint8_t, std::span<uint8_t> buffer, unsigned) override
    {
        if (script_.empty())
            return -7; // a time-out
        const std::size_t wanted = script_[0];
        script_ = script_.subspan(1);
        const std::size_t n = std::min({wanted, script_.size(), buffer.size()});
        std::memcpy(buffer.data(), script_.data(), n);
        script_ = script_.subspan(n);
        return static_cast<int>(n);
    }

private:
    std::span<const uint8_t>& script_;
};

class ScriptedBackend : public UsbBackend {
public:
    explicit ScriptedBackend(std::span<const uint8_t> script) : script_(script) {}
    int RefreshDevices() override { return 0; }
    std::unique_ptr<UsbDeviceHandle> OpenDevice(uint16_t, uint16_t) override
    {
        return std::make_unique<ScriptedDevice>(script_);
    }

private:
    std::span<const uint8_t> script_;
};

} // namespace

void MachineReplies(std::span<const uint8_t> bytes)
{
    CSettings flags;
    AppOptions options = flags.Options();
    options.ConnectViaNet = 0;
    flags.SetOptions(options);
    MachineParamsStore params;
    LinkState state;
    SilentNotifier notifier;
    ScriptedBackend backend(bytes);
    CMyCommu commu(flags, params, state, notifier, backend);
    LinkProtocol protocol(commu, state, params, flags, notifier, [](std::chrono::milliseconds) {});
    if (protocol.Handshake() == 0)
        state.Connected = true;
    for (int round = 0; round < 3; ++round) {
        protocol.StatusPoll();
        (void)protocol.ReadProgress();
        for (const int32_t language : {0, 1})
            (void)StatusLineText(state, params.Get(), language);
    }
    (void)protocol.ReadStartPoint();
    protocol.Dispatch(cmd::kReturnToOrigin, CommandSender::LinkMonitor);
    protocol.SaveRecord(cmd::kSaveAdvanced);
    protocol.SaveRecord(cmd::kSaveSettings);
}

} // namespace qv::fuzz
