#include "Usage.h"

#include "geometry/ViewCommands.h"

#include <cstdio>

namespace qv::cli {

namespace {

struct Text {
    std::string_view command;
    std::string_view text;
};

constexpr Text kTexts[] = {
    {"", "usage: quorvane-cli COMMAND [ARGS...]\n"
         "       quorvane-cli COMMAND --help\n"
         "       quorvane-cli --help | --version\n"
         "\n"
         "The output centre of the flatbed print-and-cut machine from the command line: every operation of the\n"
         "program on HP-GL drawings, task files, jobs and the machine, without a window.\n"
         "\n"
         "Commands:\n"
         "  settings   show the options and the machine parameters the program starts with\n"
         "  machine    handshake with the machine: its status, a jog, its parameter records\n"
         "  import     read HP-GL drawings into a task file and list its pages\n"
         "  info       list the pages of a task file (--json: with their curves)\n"
         "  edit       apply drawing-view commands to a page of a task file\n"
         "  view       the drawing view of a page without a window: clicks, bands, wheel; JSON\n"
         "  export     write the pages of a task file as one HP-GL drawing\n"
         "  job        write a page's job as it goes on the wire, without a machine\n"
         "  preview    what the machine would print and cut of a page: PNG and SVG\n"
         "  send       output the Auto pages (or one page) of a task file to the machine\n"
         "  station    run the output centre without a window: data directory, dispatch, jobs\n"
         "\n"
         "Options read from a settings directory (--settings DIR, where DIR/setting.ini is read) are only read:\n"
         "nothing is written into DIR. Exit status: 0 on success, 1 when the work failed, 2 for words that do\n"
         "not fit.\n"},
    {"settings", "usage: quorvane-cli settings [--settings DIR] [--write]\n"
                 "\n"
                 "Shows the options read from DIR/setting.ini (default: the program's own directory) and the machine\n"
                 "parameters the program starts with.\n"
                 "  --settings DIR  the settings directory (also --dir)\n"
                 "  --write         store DIR/setting.ini back with every key\n"},
    {"machine",
     "usage: quorvane-cli machine (--net ADDR[:PORT] | --usb) [--settings DIR] [--lang 0|1] status\n"
     "       quorvane-cli machine (--net ADDR[:PORT] | --usb) [--settings DIR] jog up|down|left|right [--ms N]\n"
     "       quorvane-cli machine (--net ADDR[:PORT] | --usb) [--settings DIR] params [--save]\n"
     "\n"
     "Handshakes with the machine (or the virtual machine) and shows its status line, moves its head for a\n"
     "moment, or shows its parameter records.\n"
     "  --net ADDR[:PORT]  the machine over Ethernet (default port 5169)\n"
     "  --usb              the machine over USB\n"
     "  --settings DIR     the settings directory (also --dir)\n"
     "  --lang 0|1         the language of the status line: 0 Chinese, 1 English\n"
     "  --ms N             how long a jog lasts, in milliseconds: 0 to 10000 (default 500); SIGINT or SIGTERM\n"
     "                     ends it early, the stop sent\n"
     "  --save             write the records back to the machine\n"},
    {"import",
     "usage: quorvane-cli import FILE.plt... -o OUT.ctask [--dialect 0|1] [--json] [--settings DIR]\n"
     "\n"
     "Takes each drawing in as the program does: reads it, appends its pages to one task list, tidies and pages\n"
     "the whole list with the options of DIR/setting.ini (default: the defaults), and saves it. Prints a report\n"
     "of each drawing (instructions met and skipped, pens, labels, size, pages), then the pages. Nothing is\n"
     "written when a drawing cannot be read or holds no curve (exit 1, with what it held on stderr).\n"
     "  -o, --output OUT.ctask  the task file to write\n"
     "  --dialect 0|1           the HP-GL dialect: 0 the design's, 1 the wider one (default: HpglDialect)\n"
     "  --json                  the reports as one JSON object instead\n"
     "  --settings DIR          the settings directory\n"},
    {"info", "usage: quorvane-cli info FILE.ctask [--json] [--settings DIR]\n"
             "\n"
             "Lists the pages of a task file as the task list shows them, in the language of DIR/setting.ini (default\n"
             "Chinese).\n"
             "  --json          every page with its curves, as JSON\n"
             "  --settings DIR  the settings directory\n"},
    {"edit", "usage: quorvane-cli edit FILE.ctask --page N OP... -o OUT.ctask [--curves LIST] [--settings DIR]\n"
             "\n"
             "Applies drawing-view commands to one page of a task file, as the operator would with the selection\n"
             "given, and saves the result. Nothing is written when an argument or a command fails.\n"
             "  --page N                the page's position in the task list, from 1\n"
             "  --curves LIST           the curves to select on that page, from 1: \"1,3-5\"; default every curve\n"
             "  -o, --output OUT.ctask  the task file to write\n"
             "  --settings DIR          the settings directory\n"
             "  OP                      a drawing-view command by number or name:\n"},
    {"view", "usage: quorvane-cli view FILE.ctask --page N --size WxH [--curves LIST] [--settings DIR] [EVENT...]\n"
             "\n"
             "Runs the drawing view's engine on one page of a task file without a window and prints its display list\n"
             "as JSON: every primitive in drawing order with its pixel coordinates, pen and colour, and the selected\n"
             "curves.\n"
             "  --page N          the page's position in the task list, from 1\n"
             "  --size WxH        the view's window in pixels, e.g. 1040x780; the page is fitted to it\n"
             "  --curves LIST     the curves selected before the events, from 1: \"1,3-5\"; default none\n"
             "  --settings DIR    the settings directory\n"
             "  EVENT             mouse events in window pixels, applied in the order given:\n"
             "    --click X,Y[,ctrl|,shift]         the left button pressed and released at X,Y\n"
             "    --band X0,Y0,X1,Y1[,ctrl|,shift]  the left button pressed at X0,Y0, dragged to X1,Y1 and released\n"
             "    --pan X0,Y0,X1,Y1                 the right button pressed at X0,Y0, dragged to X1,Y1 and released\n"
             "    --wheel X,Y,+1|-1                 one wheel step at X,Y, +1 zooming in\n"},
    {"export",
     "usage: quorvane-cli export FILE.ctask -o OUT.plt [--scale-x P] [--scale-y P] [--settings DIR]\n"
     "\n"
     "Writes the whole task list as one HP-GL file, as the File menu's export does; \".plt\" is appended to a\n"
     "name without it. Prints the path written.\n"
     "  -o, --output OUT.plt  the drawing to write\n"
     "  --scale-x P           the X scale in percent (default 100)\n"
     "  --scale-y P           the Y scale in percent (default 100)\n"
     "  --settings DIR        the settings directory (the half-cut pen)\n"},
    {"job",
     "usage: quorvane-cli job FILE.ctask --page N [--machine-params FILE] [--settings DIR] [--start X,Y] -o DIR\n"
     "\n"
     "Prepares page N as the program does and writes its job as it goes on the wire, without a machine:\n"
     "DIR/start.bin (the start command frame), DIR/data.bin (the bulk data: compressed bands, then the knife\n"
     "records), DIR/segments.bin (the segment record frames), DIR/header.bin (the job header frame) and\n"
     "DIR/job.json (the numbers of the job).\n"
     "  --page N               the page's position in the task list, from 1\n"
     "  --machine-params FILE  the machine's parameter records as the virtual machine keeps them (default:\n"
     "                         the start-up values)\n"
     "  --settings DIR         the settings directory\n"
     "  --start X,Y            the machine's start point in pulses (default 0,0)\n"
     "  -o, --output DIR       the folder to write\n"},
    {"preview",
     "usage: quorvane-cli preview FILE.ctask --page N [--machine-params FILE] [--settings DIR] [--start X,Y] -o DIR\n"
     "\n"
     "Builds page N's job as `job` does and lets the virtual machine's decoder read it as the machine would:\n"
     "DIR/print.png is what its heads print, DIR/cut.svg what its knives cut, DIR/summary.json what it made\n"
     "of the job.\n"
     "  --page N               the page's position in the task list, from 1\n"
     "  --machine-params FILE  the machine's parameter records (default: the start-up values)\n"
     "  --settings DIR         the settings directory\n"
     "  --start X,Y            the machine's start point in pulses (default 0,0)\n"
     "  -o, --output DIR       the folder to write\n"},
    {"send", "usage: quorvane-cli send FILE.ctask (--net ADDR[:PORT] | --usb) [--page N] [--settings DIR]\n"
             "\n"
             "Outputs the Auto pages of a task file in list order, or only page N, through the output centre as the\n"
             "program does: one job at a time once the machine is ready; a failed page stops the rest. Shows the\n"
             "machine's status line while a page runs and each page's result. Exit status 0 when every page was\n"
             "completed.\n"
             "  --net ADDR[:PORT]  the machine over Ethernet (default port 5169)\n"
             "  --usb              the machine over USB\n"
             "  --page N           only this page, from 1\n"
             "  --settings DIR     the settings directory (only read)\n"},
    {"station",
     "usage: quorvane-cli station [--dir EXEDIR] [--net ADDR[:PORT] | --usb]\n"
     "\n"
     "The output centre without a window, with EXEDIR as the program's own directory: loads its settings,\n"
     "keeps the link, reloads the last task list, takes every drawing dropped into the data directory and\n"
     "outputs the Auto pages one after the other; one line per event on standard output. SIGINT or SIGTERM\n"
     "closes it as the main window closes.\n"
     "  --dir EXEDIR       the program's directory: setting.ini, lastv901.ctask, the fonts and test drawings\n"
     "                     (default: beside the program when that is writable, else $XDG_DATA_HOME/quorvane/,\n"
     "                     by default ~/.local/share/quorvane/)\n"
     "  --net ADDR[:PORT]  the machine over Ethernet (default port 5169)\n"
     "  --usb              the machine over USB\n"},
};

} // namespace

std::string UsageText(std::string_view command)
{
    for (const Text& t : kTexts) {
        if (t.command != command)
            continue;
        std::string text(t.text);
        if (command == "edit") {
            for (const ViewCommandName& c : ViewCommandNames())
                text += "                            " + std::to_string(c.command) + " " + std::string(c.name) + "\n";
        }
        return text;
    }
    return UsageText("");
}

int WrongWords(std::string_view command, std::string_view why)
{
    if (!why.empty())
        std::fprintf(stderr, "quorvane-cli %.*s: %.*s\n", static_cast<int>(command.size()), command.data(),
                     static_cast<int>(why.size()), why.data());
    std::fputs(UsageText(command).c_str(), stderr);
    return 2;
}

} // namespace qv::cli
