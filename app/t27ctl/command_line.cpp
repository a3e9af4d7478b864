#include "app/t27ctl/command_line.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>

#include "app/t27ctl/edid_edit.h"
#include "common/version.h"

namespace t27 {

namespace {

// The link options belong to the top; a command that needs them says so.
const std::string link_note =
    "Needs LINK: --tcp HOST[:PORT] or --serial DEVICE|COMn, before or after the\n"
    "command words (t27ctl --help).\n";

const char* const link_exits =
    "exit     0 done, 1 link not opened, 2 no response or link lost, 3 refused (by the unit\n"
    "         or by the rule a tab applies), 64 usage error.\n";

const char* const top_footer =
    "LINK is --tcp HOST[:PORT] or --serial DEVICE|COMn; options may stand anywhere,\n"
    "and -- ends them (a LINE or NAME that starts with - comes after it).\n"
    "\n"
    "send     opens the link (TCP port 23 unless given; serial at 115200,N,8,1),\n"
    "         identifies the unit unless --no-link, then runs one transaction per\n"
    "         LINE (a CR is appended) and prints its status, the three reply\n"
    "         parameters and the reply as the command monitor logs it.\n"
    "         --edid-bin gives the bytes sent after \"$edid_write\" lines.\n"
    "         --json prints one JSON document instead, also when the link fails:\n"
    "         {\"link\": {\"model\", \"family\", \"board\", \"firmware\" (the version\n"
    "         alone), \"task\", \"catalogue\"} or null when the unit was not\n"
    "         identified, \"lines\": [{\"request\", \"status\", \"status_name\",\n"
    "         \"param1\", \"param2\", \"param3\", \"reply\": [logged lines]}],\n"
    "         \"error\": null or what failed}. Every --json command of t27ctl prints\n"
    "         such a document with \"link\" and \"error\" when it stops on a failure.\n"
    "         COMn is mapped to a device as the window maps it (com_ports.txt in\n"
    "         the folder where the window keeps the user's files, or in\n"
    "         --program-dir).\n"
    "exit     0 every line Accepted; 2 NoResponse or 3 ErrorReply for the last line\n"
    "         that was not; 1 the link could not be opened or a line was NotSent;\n"
    "         64 usage error. Each command's --help tells its own.\n";

const char* const edid_footer =
    "FILE, IN, A and B are .hex, .bin or .ddc files; OUT ends in .hex or .bin.\n"
    "--json prints one JSON document:\n"
    "  check    {\"file\", \"valid\", \"error\" (null when valid), \"type\",\n"
    "           \"manufacturer\", \"model\", \"native\", \"checksums\": [{\"block\",\n"
    "           \"expected\", \"stored\", \"ok\"}]}\n"
    "  compare  {\"a\", \"b\", \"match\", \"result\", \"differing\": [{\"offset\",\n"
    "           \"a\", \"b\"}]}\n"
    "read and write talk to the unit and need LINK. SOURCE: sink_h, sink_v,\n"
    "d1..d10, c1..c10; SLOT: sink_h, sink_v, c1..c10. read saves .hex or .bin by\n"
    "the file's extension; write takes .hex, .bin or .ddc.\n"
    "exit 0 done (valid, or images match), 1 check failed or images differ,\n"
    "     64 usage, 65 not an EDID file of its kind, 66 unreadable input,\n"
    "     69 the unit did not give or take the EDID, 73 output not written.\n";

const char* const cable_footer =
    "run   sets level and time (1 = 2 minutes ... 6 = 1 hour, 7 = endless; defaults\n"
    "      1 and normal), starts the unit's test, prints a progress line whenever\n"
    "      its clock moves and the result at the end. --stop-after stops the test\n"
    "      once the unit's clock reaches S seconds; Ctrl-C stops it at once.\n"
    "      --json prints one JSON document at the end instead of the lines:\n"
    "      {\"link\": {...as send --json} or null, \"task_was\" (null when already cable),\n"
    "      \"time\", \"level\", \"elapsed_s\" (null before the clock was read),\n"
    "      \"result\" (null without one), \"error\" (null, or why it ended early)};\n"
    "      progress lines then go to stderr when it is a terminal.\n"
    "stop  stops a running test and prints the result.\n"
    "exit  0 pass, 1 link not opened, 2 link lost, 3 request refused, 4 fail,\n"
    "      5 the test ended without a verdict, 64 usage error.\n";

const char* const report_footer =
    "Builds the report the Monitor tab's REPORT builds, with the sections named\n"
    "(System, Video, Audio, Packet, HDCP; any case; all five when none is named).\n"
    "-o FILE  write it whole to FILE as SAVE writes it (CR LF line ends); without\n"
    "         it the report goes to stdout with LF line ends. Progress goes to\n"
    "         stderr when stderr is a terminal.\n"
    "--json   one JSON document instead of the text, with the fields \"link\" (as\n"
    "         send --json), \"time\" and \"date\" (ISO 8601: 18:45:32, 2026-12-07),\n"
    "         \"model\", \"firmware\" (the version alone), \"program_version\",\n"
    "         \"task_mode\", \"sections\" (a list of {\"name\", \"lines\"}, the\n"
    "         section's title line first), \"report\" (the whole text, CR LF line\n"
    "         ends) and \"error\" (null). When the link fails or a reply does not\n"
    "         come: {\"link\" (null when not identified), \"error\"} instead.\n"
    "exit     0 built; 2 a reply did not come and the report was abandoned; 3 the\n"
    "         unit answered its identification with an error; 1 the link could not\n"
    "         be opened or was lost, or FILE could not be written; 64 usage error.\n";

const char* const watch_footer =
    "Polls as the Monitor tab does (default the System view; all: the five views in\n"
    "turn), prints a snapshot of every value once each list has been polled, then\n"
    "one line per value that changed:\n"
    "  2026-12-07T10:00:00.123 Source Resolution: 1920x1080p60 -> 3840x2160p60\n"
    "(local time; snapshot lines are \"TIME ITEM: VALUE\"). Items are named by the\n"
    "captions the window shows. --json prints one object a line instead:\n"
    "  {\"time\": \"...\", \"item\": \"...\", \"old\": \"...\", \"new\": \"...\"}\n"
    "with \"old\": null for the snapshot and for an item seen for the first time;\n"
    "a failure ends it with {\"link\" (as send --json; null when not identified),\n"
    "\"error\"}.\n"
    "--hunt polls 5 V, clock, sync and resolution back to back as fast as the unit\n"
    "answers, the rest of the view between them at a lower rate, and reports each\n"
    "dropout once, timed by the reads that saw it go and come back:\n"
    "  2026-12-07T10:00:00.123 dropout: 2026-12-07T10:00:00.020 -> ...00.123, 103 ms\n"
    "  {\"dropout\": true, \"start\": \"...\", \"end\": \"...\", \"ms\": 103, \"lost\": true}\n"
    "(\"lost\": 5 V, clock or sync went off, else the signal changed and came back),\n"
    "ending with a count: \"N dropouts\" or {\"summary\": true, \"dropouts\": N, ...}.\n"
    "Changes seen while a dropout is on are not listed. Analyser mode only.\n"
    "Ctrl-C or the end of --duration ends it: exit 0. A lost link: what was seen\n"
    "is printed, a message goes to stderr, exit 2. 1 the link could not be\n"
    "opened, 64 usage error.\n";

const char* const check_footer =
    "Holds what the source on the unit's input sends against the EDID the unit\n"
    "presents to it (its Rx EDID: the attached sink's, a default or a user slot),\n"
    "or against FILE (.hex, .bin, .ddc). One line a rule: PASS, FAIL or n.a., what\n"
    "the source sends, what the EDID declares and the clause the rule rests on.\n"
    "--json prints one document instead. --watch polls on and prints each change\n"
    "of verdict (\"TIME RULE: PASS -> FAIL source / EDID\"; with --json one object\n"
    "a line) until Ctrl-C or the end of --duration, against the EDID read at the\n"
    "start.\n"
    "exit 0 no rule failed, 1 a rule failed (with --watch: at any time), 2 the\n"
    "     link was lost or could not be opened, 3 the EDID could not be read,\n"
    "     64 usage error.\n";

const char* const catalogue_footer =
    "list: the linked unit's entries, '*' before the one output now (--json: one\n"
    "document, with \"link\" and \"error\" as send --json); set: outputs an entry by its number or name (the exact name, else\n"
    "a unique case-insensitive part of one). Timing 88 only in the analyser task;\n"
    "--motion-text only for the patterns that scroll a text.\n";

const char* const panel_footer =
    "list: each Control Panel row of the unit's task, its choices and the one the\n"
    "unit reports; set: presses the choice of a row, both by caption, ignoring case\n"
    "(the system buttons are on row \"System\"; \"Factory Reset\" and \"Reboot\"\n"
    "need --yes).\n";

const char* const sweep_footer =
    "Outputs each timing (default all), with each pattern on it, and holds it for\n"
    "the dwell time (default 5 s); one line per step: time, timing, pattern, result\n"
    "(--json: one object a line). A timing the task does not output is left out,\n"
    "with a note on stderr, and counts as refused. Ctrl-C or SIGTERM stops after\n"
    "the current step.\n"
    "exit     0 done, 1 link not opened, 2 no response or link lost, 3 refused (by the\n"
    "         unit or by the rule a tab applies), 64 usage error, 130 stopped by\n"
    "         Ctrl-C, 143 stopped by SIGTERM.\n";

// Seconds: a decimal fraction allowed, not negative, at most `most`.
std::string seconds_check(const std::string& text, double most) {
    char* end = nullptr;
    errno = 0;
    const double v = text.empty() ? -1 : std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !(v >= 0) || v > most)
        return "takes seconds, not \"" + text + "\"";
    return {};
}

double seconds_value(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// The help layout: lower-case labels as the rest of the program's messages.
std::shared_ptr<CLI::Formatter> formatter() {
    auto f = std::make_shared<CLI::Formatter>();
    f->column_width(28);
    f->label("Usage", "usage");
    f->label("OPTIONS", "OPTIONS");
    f->label("REQUIRED", "required");
    f->label("SUBCOMMAND", "COMMAND");
    return f;
}

class Tree {
  public:
    explicit Tree(CtlArgs& a) : a_(a), app_("the command-line front end of the T27 HDMI test unit",
                                            "t27ctl") {
        app_.formatter(formatter());
        // The parser's Windows default reads "/path" as an option; a file
        // name is a file name on every system.
        app_.allow_windows_style_options(false);
        app_.require_subcommand(1, 1);
        // Link options may follow the command words.
        app_.fallthrough();
        app_.set_version_flag("--version", [] {
            std::string v = version_line("t27ctl");
            v.pop_back();
            return v;
        }());
        app_.footer(top_footer);
        add_link_options();
        add_send();
        add_cable();
        add_edid();
        add_monitor();
        add_generator();
        name_groups(&app_);
    }

    CLI::App& app() { return app_; }

  private:
    static void name_groups(CLI::App* app) {
        for (CLI::App* sub : app->get_subcommands({})) {
            sub->group("Commands");
            name_groups(sub);
        }
    }

    void add_link_options() {
        CtlLinkArgs& l = a_.link;
        auto* tcp = app_.add_option_function<std::string>(
                            "--tcp",
                            [&l](const std::string& v) {
                                const std::size_t colon = v.rfind(':');
                                l.tcp_host = v.substr(0, colon);
                                if (colon != std::string::npos)
                                    l.tcp_port = std::stoi(v.substr(colon + 1));
                            },
                            "link over TCP (port 23 unless given)")
                        ->type_name("HOST[:PORT]")
                        ->check(
                            [](const std::string& v) -> std::string {
                                const std::size_t colon = v.rfind(':');
                                if (v.empty() || colon == 0) return "needs a host";
                                if (colon == std::string::npos) return {};
                                const std::string port = v.substr(colon + 1);
                                if (port.empty() || port.size() > 5 ||
                                    port.find_first_not_of("0123456789") != std::string::npos ||
                                    std::stoi(port) < 1 || std::stoi(port) > 65535)
                                    return "bad port '" + port + "' (1 to 65535)";
                                return {};
                            },
                            "");
        app_.add_option("--serial", l.serial, "link over RS-232 (a device, or COMn)")
            ->type_name("DEVICE|COMn")
            ->excludes(tcp);
        app_.add_flag("--no-link", l.no_link, "send: skip identifying the unit");
        app_.add_option("--edid-bin", l.edid_bin, "send: the bytes sent after \"$edid_write\"")
            ->type_name("FILE");
        app_.add_option("--program-dir", l.program_dir,
                        "the folder of catalogues and com_ports.txt")
            ->type_name("DIR");
        app_.add_flag("--verbose", l.verbose, "show the link caption as it changes");
    }

    CLI::App* leaf(CLI::App* parent, const char* name, const char* what, CtlCommand c) {
        CLI::App* sub = parent->add_subcommand(name, what);
        sub->callback([this, c] { a_.command = c; });
        return sub;
    }
    CLI::Option* json_flag(CLI::App* sub, const char* what = "one JSON document") {
        return sub->add_flag("--json", a_.json, what);
    }
    CLI::Option* word(CLI::App* sub, const char* name, const char* what, bool required = true) {
        CLI::Option* o = sub->add_option_function<std::string>(
            name, [this](const std::string& v) { a_.words.push_back(v); }, what);
        if (required) o->required();
        return o;
    }
    CLI::Option* hex_type(CLI::App* sub) {
        return sub->add_option("--hex-type", a_.hex_type, "the .hex layout (default simple)")
            ->check(CLI::IsMember({"simple", "c"}));
    }
    CLI::Option* seconds(CLI::App* sub, const char* name, const char* what, double most,
                         std::function<void(double)> store) {
        return sub
            ->add_option_function<std::string>(
                name, [store](const std::string& v) { store(seconds_value(v)); }, what)
            ->type_name("SECONDS")
            ->check([most](const std::string& v) { return seconds_check(v, most); }, "");
    }

    void add_send() {
        CLI::App* s = leaf(&app_, "send", "run request lines on the unit", CtlCommand::send);
        s->footer(link_note + "What it prints and its exit codes: t27ctl --help.\n");
        json_flag(s);
        s->add_option("LINE", a_.words, "a request, without its CR")->required();
    }

    void add_cable() {
        CLI::App* c = app_.add_subcommand("cable", "the unit's cable test");
        c->require_subcommand(1, 1);
        c->footer(link_note + cable_footer);
        CLI::App* run = leaf(c, "run", "start a cable test and follow it", CtlCommand::cable_run);
        run->add_option("--time", a_.cable_time, "the test time entry (default 1)")
            ->check(CLI::IsMember({"1", "2", "3", "4", "5", "6", "7"}))
            ->type_name("1..7");
        run->add_option_function<std::string>(
               "--level", [this](const std::string& v) { a_.cable_strict = v == "strict"; },
               "normal (default) or strict")
            ->check(CLI::IsMember({"normal", "strict"}));
        run->add_option_function<std::string>(
               "--stop-after", [this](const std::string& v) { a_.stop_after_s = std::stoll(v); },
               "stop once the unit's clock reaches S seconds")
            ->type_name("S")
            ->check(
                [](const std::string& v) -> std::string {
                    if (v.empty() || v.size() > 9 ||
                        v.find_first_not_of("0123456789") != std::string::npos)
                        return "takes whole seconds, not \"" + v + "\"";
                    return {};
                },
                "");
        json_flag(run, "one JSON document at the end");
        run->footer(link_note + cable_footer);
        leaf(c, "stop", "stop a running test and print the result", CtlCommand::cable_stop)
            ->footer(link_note + cable_footer);
    }

    void add_edid() {
        CLI::App* e = app_.add_subcommand("edid", "read, check, convert, edit and write EDID");
        e->require_subcommand(1, 1);
        e->footer(edid_footer);
        CLI::App* report =
            leaf(e, "report", "the analysis report, as the window shows it", CtlCommand::edid_report);
        word(report, "FILE", "an EDID file");
        CLI::App* check = leaf(e, "check", "type, manufacturer, model, native, checksums",
                               CtlCommand::edid_check);
        json_flag(check);
        word(check, "FILE", "an EDID file");
        CLI::App* convert = leaf(e, "convert", "write OUT as .hex or .bin by its extension",
                                 CtlCommand::edid_convert);
        word(convert, "IN", "an EDID file");
        word(convert, "OUT", "the file to write (.hex or .bin)");
        hex_type(convert);
        CLI::App* compare =
            leaf(e, "compare", "the compare result and the differing bytes", CtlCommand::edid_compare);
        json_flag(compare);
        word(compare, "A", "an EDID file");
        word(compare, "B", "an EDID file");
        add_edid_edit(e);
        CLI::App* decode =
            leaf(e, "decode", "the editor's model as a tree", CtlCommand::edid_decode);
        json_flag(decode, "the tree as one JSON document");
        word(decode, "FILE", "an EDID file");
        CLI::App* read =
            leaf(e, "read", "read an EDID from the unit into a file", CtlCommand::edid_read);
        word(read, "SOURCE", "sink_h, sink_v, d1..d10 or c1..c10");
        read->add_option("-o", a_.out_file, "the file to write (.hex or .bin)")
            ->type_name("FILE")
            ->required();
        hex_type(read);
        CLI::App* write =
            leaf(e, "write", "write an EDID file into a slot of the unit", CtlCommand::edid_write);
        word(write, "SLOT", "sink_h, sink_v or c1..c10");
        word(write, "FILE", "a .hex, .bin or .ddc file");
        for (CLI::App* sub : e->get_subcommands({})) sub->footer(edid_footer);
    }

    void add_edid_edit(CLI::App* e) {
        CLI::App* edit = leaf(e, "edit", "edit fields and write the result to OUT",
                              CtlCommand::edid_edit);
        word(edit, "IN", "an EDID file");
        word(edit, "OUT", "the file to write (.hex or .bin)");
        hex_type(edit);
        edit->add_flag("--force", a_.force, "edit an image whose block 0 header is wrong");
        for (const EdidEditOptionHelp& h : edid_edit_option_help()) {
            const std::string name = h.name;
            // Applied in the order given, each as often as given.
            edit->add_option_function<std::string>(
                    name,
                    [this, name](const std::string& v) { a_.edits.emplace_back(name, v); },
                    h.help)
                ->type_name(h.value)
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
                ->trigger_on_parse();
        }
    }

    void add_monitor() {
        CLI::App* report = leaf(&app_, "monitor-report", "the Monitor tab's report",
                                CtlCommand::monitor_report);
        report->add_option("--section", a_.sections,
                           "System, Video, Audio, Packet or HDCP (repeatable; default all)")
            ->type_name("NAME")
            ->check(CLI::IsMember({"system", "video", "audio", "packet", "hdcp"},
                                  CLI::ignore_case));
        report->add_option("-o", a_.out_file, "write the report to FILE")
            ->type_name("FILE")
            ->check([](const std::string& v) { return v.empty() ? "needs a file" : ""; }, "");
        json_flag(report);
        report->footer(link_note + report_footer);

        CLI::App* m = app_.add_subcommand("monitor", "the Monitor tab's live view");
        m->require_subcommand(1, 1);
        CLI::App* watch = leaf(m, "watch", "print the values and then each change",
                               CtlCommand::monitor_watch);
        watch->add_option("--view", a_.view, "the view to poll (default system)")
            ->check(CLI::IsMember({"system", "video", "audio", "packet", "hdcp", "all"},
                                  CLI::ignore_case));
        json_flag(watch, "one JSON object a line");
        watch->add_flag("--hunt", a_.hunt, "poll the signal's presence back to back and report dropouts");
        seconds(watch, "--duration", "stop after this long", 1e12,
                [this](double s) { a_.duration_s = s; });
        watch->footer(link_note + watch_footer);

        CLI::App* check = leaf(m, "check", "hold the source against the EDID it is shown",
                               CtlCommand::monitor_check);
        check->add_option("--edid", a_.edid_file, "an EDID file instead of the unit's Rx EDID")
            ->type_name("FILE")
            ->check([](const std::string& v) { return v.empty() ? std::string("--edid needs a file") : std::string(); }, "");
        json_flag(check, "one JSON document (with --watch: one object a line)");
        CLI::Option* watching = check->add_flag("--watch", a_.watch, "print each change of verdict");
        seconds(check, "--duration", "with --watch: stop after this long", 1e12,
                [this](double s) { a_.duration_s = s; })
            ->needs(watching);
        check->footer(link_note + check_footer);
        m->footer(link_note + watch_footer + "\n" + check_footer);
    }

    void add_generator() {
        CLI::App* task = leaf(&app_, "task", "print or switch the unit's task mode", CtlCommand::task);
        word(task, "MODE", "analyser, pattern or cable", false)
            ->check(CLI::IsMember({"analyser", "pattern", "cable"}));
        task->footer(
            "Prints the unit's task mode; with a MODE, switches to it and prints the new one.\n" +
            link_note + link_exits);

        for (const bool timing : {true, false}) {
            CLI::App* c = app_.add_subcommand(timing ? "timing" : "pattern",
                                              timing ? "list or output the unit's timings"
                                                     : "list or output the unit's patterns");
            c->require_subcommand(1, 1);
            const std::string footer = catalogue_footer + link_note + link_exits;
            c->footer(footer);
            CLI::App* list = leaf(c, "list", "the entries, '*' before the one output now",
                                  timing ? CtlCommand::timing_list : CtlCommand::pattern_list);
            json_flag(list);
            list->footer(footer);
            CLI::App* set = leaf(c, "set", "output an entry",
                                 timing ? CtlCommand::timing_set : CtlCommand::pattern_set);
            word(set, "N|NAME", "its number, or its name or a unique part of it");
            if (!timing)
                set->add_option("--motion-text", a_.motion_text, "the text a moving pattern scrolls")
                    ->type_name("TEXT");
            set->footer(footer);
        }

        CLI::App* panel = app_.add_subcommand("panel", "the unit's Control Panel");
        panel->require_subcommand(1, 1);
        const std::string footer = panel_footer + link_note + link_exits;
        panel->footer(footer);
        CLI::App* list = leaf(panel, "list", "each row, its choices and the one the unit reports",
                              CtlCommand::panel_list);
        json_flag(list);
        list->footer(footer);
        CLI::App* set = leaf(panel, "set", "press the CHOICE of a ROW", CtlCommand::panel_set);
        word(set, "ROW", "a row's caption (or System)");
        word(set, "CHOICE", "a choice's caption on that row");
        set->add_flag("--yes", a_.yes, "confirm Factory Reset or Reboot");
        set->footer(footer);

        CLI::App* sweep = leaf(&app_, "sweep", "output timings and patterns in turn", CtlCommand::sweep);
        sweep->add_option("--timings", a_.timings, "all (default), or N, N-M, ... with commas")
            ->type_name("LIST");
        sweep->add_option("--patterns", a_.patterns, "N, N-M, ... with commas (default none)")
            ->type_name("LIST");
        seconds(sweep, "--dwell", "how long each step is held (default 5, at most a day)",
                86400, [this](double s) { a_.dwell_s = s; });
        json_flag(sweep, "one JSON object a line");
        sweep->footer(link_note + sweep_footer);
    }

    CtlArgs& a_;
    CLI::App app_;
};

// The deepest command the parse reached, and its words after "t27ctl".
const CLI::App* deepest(const CLI::App* app, std::string& path) {
    for (;;) {
        const auto chosen = app->get_subcommands();
        if (chosen.empty()) return app;
        app = chosen.front();
        path += (path.empty() ? "" : " ") + app->get_name();
    }
}

void walk(const CLI::App* app, const std::string& path, std::ostream& out) {
    for (const CLI::App* sub : app->get_subcommands({})) {
        const std::string here = path.empty() ? sub->get_name() : path + " " + sub->get_name();
        out << here << "\n";
        walk(sub, here, out);
    }
}

}  // namespace

bool ctl_needs_link(CtlCommand c) {
    switch (c) {
        case CtlCommand::none:
        case CtlCommand::edid_report:
        case CtlCommand::edid_check:
        case CtlCommand::edid_convert:
        case CtlCommand::edid_compare:
        case CtlCommand::edid_edit:
        case CtlCommand::edid_decode:
            return false;
        default:
            return true;
    }
}

int ctl_usage_error(std::ostream& err, const std::string& command, const std::string& why) {
    const std::string name = command.empty() ? "t27ctl" : "t27ctl " + command;
    err << name << ": " << why << "\n" << "see " << name << " --help\n";
    return ctl_exit_usage;
}

std::optional<int> ctl_parse(const std::vector<std::string>& args, CtlArgs& parsed,
                             std::ostream& out, std::ostream& err) {
    parsed = CtlArgs{};
    Tree tree(parsed);
    CLI::App& app = tree.app();
    // CLI11 takes the words last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        std::string path;
        const CLI::App* at = deepest(&app, path);
        // help() adds the command's own name to the words before it.
        const std::size_t last = path.rfind(' ');
        out << at->help(at == &app ? "" : last == std::string::npos ? "t27ctl" : "t27ctl " + path.substr(0, last));
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("t27ctl", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::CallForVersion& v) {
        out << v.what() << "\n";
        return 0;
    } catch (const CLI::ParseError& e) {
        std::string path;
        const CLI::App* at = deepest(&app, path);
        // A word where a command belongs names no command: say so, rather
        // than that a command is missing.
        const std::vector<std::string> left = app.remaining();
        if (!at->get_subcommands({}).empty() && !left.empty() && left.front()[0] != '-') {
            std::string names;
            for (const CLI::App* sub : at->get_subcommands({}))
                names += (names.empty() ? "" : ", ") + sub->get_name();
            return ctl_usage_error(err, path,
                                   "unknown command '" + left.front() + "' (" + names + ")");
        }
        return ctl_usage_error(err, path, e.what());
    }
    if (ctl_needs_link(parsed.command) &&
        parsed.link.tcp_host.empty() == parsed.link.serial.empty()) {
        std::string path;
        deepest(&app, path);
        return ctl_usage_error(err, path, "give one of --tcp and --serial");
    }
    return std::nullopt;
}

void ctl_list_commands(std::ostream& out) {
    CtlArgs unused;
    Tree tree(unused);
    walk(&tree.app(), "", out);
}

void ctl_complete_words(const std::vector<std::string>& words, std::ostream& out) {
    CtlArgs unused;
    Tree tree(unused);
    const CLI::App* app = &tree.app();
    std::vector<const CLI::App*> chain = {app};
    for (const std::string& w : words) {
        for (const CLI::App* sub : app->get_subcommands({})) {
            if (sub->get_name() == w) {
                app = sub;
                chain.push_back(sub);
                break;
            }
        }
    }
    for (const CLI::App* sub : app->get_subcommands({})) out << sub->get_name() << "\n";
    // A command takes its own options and, the link options falling through,
    // the top's; an inner command's name may shadow one of those.
    std::set<std::string> names;
    for (const CLI::App* a : chain) {
        for (const CLI::Option* o : a->get_options()) {
            if (o->get_group().empty() || o->get_positional()) continue;
            for (const std::string& n : o->get_lnames()) names.insert("--" + n);
            for (const std::string& n : o->get_snames()) names.insert("-" + n);
        }
    }
    for (const std::string& n : names) out << n << "\n";
}

}  // namespace t27
