// quorvane: the output centre's window.
#include "CQuorvaneApp.h"

#include "app/BuildInfo.h"
#include "app/DataPlace.h"
#include "link/CMyEth.h"
#include "ui/app/SingleInstance.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <cstdio>
#include <variant>

namespace {

// "ADDR" or "ADDR:PORT", an IPv4 address and a port from 1 to 65535.
bool ParseNet(const QString& text, qv::window::StartOptions& options)
{
    const qsizetype colon = text.indexOf(':');
    const QHostAddress address(colon < 0 ? text : text.left(colon));
    bool ok = true;
    const uint port = colon < 0 ? qv::kMachineTcpPort : text.mid(colon + 1).toUInt(&ok);
    if (address.protocol() != QAbstractSocket::IPv4Protocol || !ok || port == 0 || port > 65535)
        return false;
    const quint32 ip = address.toIPv4Address();
    options.netAddress = std::array<uint8_t, 4>{static_cast<uint8_t>(ip >> 24), static_cast<uint8_t>(ip >> 16),
                                                static_cast<uint8_t>(ip >> 8), static_cast<uint8_t>(ip)};
    options.netPort = static_cast<uint16_t>(port);
    return true;
}

// The command line as StartOptions, or the exit code when there is nothing to start (--help, --version, bad
// words). Read before the window system is reached, so --help works without a display.
std::variant<qv::window::StartOptions, int> ReadCommandLine(int argc, char** argv)
{
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName("quorvane");
    QCoreApplication::setApplicationVersion(QString("%1 (%2)").arg(qv::kVersion, qv::kReleaseDate));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "The output centre of the flatbed printing and cutting machine: the task list, the drawing view and the "
        "machine link.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("TASKFILE", "A task list (.ctask) to open at start.", "[TASKFILE]");
    const QCommandLineOption dir("dir",
                                 "The program's directory for setting.ini, lastv901.ctask and the data "
                                 "directory default (the executable's own by default).",
                                 "DIR");
    const QCommandLineOption net("net",
                                 "Connect over Ethernet to ADDR (the machine port 5169, or PORT), e.g. the "
                                 "virtual machine.",
                                 "ADDR[:PORT]");
    const QCommandLineOption usb("usb", "Connect over USB.");
    const QCommandLineOption log("log", "Print the workflow's events (drawings taken, page states, reloads) on "
                                        "standard output.");
    const QCommandLineOption instance("instance-dir",
                                      "Where the single-instance lock and socket live (the user's runtime "
                                      "directory by default).",
                                      "DIR");
    const QCommandLineOption preview("job-preview", "Start with the job preview shown.");
    const QCommandLineOption screenshot("screenshot",
                                        "Save a picture of the window to FILE (PNG) once it is shown, then close "
                                        "it as its close button does (for the documentation).",
                                        "FILE");
    parser.addOptions({dir, net, usb, log, instance, preview, screenshot});
    parser.process(probe);

    qv::window::StartOptions options;
    if (parser.isSet(dir)) {
        const QString chosen = QDir(parser.value(dir)).absolutePath();
        if (!QDir(chosen).exists()) {
            std::fprintf(stderr, "%s: no such directory\n", qPrintable(chosen));
            return 2;
        }
        options.exeDir = QFile::encodeName(chosen + '/').toStdString();
    } else {
        // Installed system-wide, the program's own directory is not the user's to write.
        const qv::DataPlace place =
            qv::ChooseDataPlace(QFile::encodeName(QCoreApplication::applicationDirPath() + '/').toStdString());
        if (!place.error.empty()) {
            std::fprintf(stderr, "quorvane: %s\n", place.error.c_str());
            return 1;
        }
        if (!place.besideProgram)
            std::printf("the program's directory is not writable: its files are kept in %s\n", place.dir.c_str());
        options.exeDir = place.dir;
    }
    if (parser.isSet(net) && parser.isSet(usb)) {
        std::fprintf(stderr, "--net and --usb exclude each other\n");
        return 2;
    }
    if (parser.isSet(net) && !ParseNet(parser.value(net), options)) {
        std::fprintf(stderr, "bad --net %s\n", qPrintable(parser.value(net)));
        return 2;
    }
    options.viaUsb = parser.isSet(usb);
    options.log = parser.isSet(log);
    options.jobPreview = parser.isSet(preview);
    options.screenshot = parser.value(screenshot);
    options.instanceDir = parser.isSet(instance) ? parser.value(instance) : qv::ui::SingleInstance::DefaultDirectory();
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "one task file at most\n");
        return 2;
    }
    if (!files.isEmpty())
        options.taskFile = QFile::encodeName(QFileInfo(files.front()).absoluteFilePath()).toStdString();
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    const auto read = ReadCommandLine(argc, argv);
    if (const int* code = std::get_if<int>(&read))
        return *code;
    qv::window::CQuorvaneApp app(argc, argv);
    if (const auto ended = app.Start(std::get<qv::window::StartOptions>(read)))
        return *ended;
    return app.exec();
}
