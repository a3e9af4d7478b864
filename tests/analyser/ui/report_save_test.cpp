#include "analyser/ui/report_save.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <set>

namespace t27 {
namespace {

// Answers the save dialog from a list of names (empty = cancelled) and the
// overwrite question from a list of answers, recording what was asked.
struct ScriptedDialogs : Dialogs {
    void message(const std::string& text, MessageIcon) override { messages.push_back(text); }
    Answer question(const std::string& text, bool with_cancel, bool) override {
        questions.push_back(text);
        cancel_offered = with_cancel;
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string open_file(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string save_file(const std::string& title, const std::string& folder,
                          const std::string& filter, std::string*) override {
        titles.push_back(title);
        folders.push_back(folder);
        filters.push_back(filter);
        if (names.empty()) return {};
        const std::string n = names.front();
        names.pop_front();
        return n;
    }

    std::deque<std::string> names;
    std::deque<Answer> answers;
    std::vector<std::string> titles, folders, filters, questions, messages;
    bool cancel_offered = false;
};

class ReportSave : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return (dir.path() + "/" + name).toStdString(); }
    QByteArray read(const char* name) const {
        QFile f(dir.path() + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void write(const char* name, const QByteArray& bytes) const {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const std::string report = "Monitor Report 10:00 1/2/25\r\nModel: T27\r\n";
};

TEST_F(ReportSave, NewFileGetsTheReportAndOneClosingLineEnd) {
    dialogs.names = {path("monitor.txt")};
    const ReportSaveOutcome r = save_monitor_report(dialogs, "/prog", report);
    EXPECT_EQ(r.result, ReportSaveResult::Written);
    EXPECT_EQ(r.path, path("monitor.txt"));
    EXPECT_EQ(read("monitor.txt"), QByteArray("Monitor Report 10:00 1/2/25\r\nModel: T27\r\n\r\n"));
    ASSERT_EQ(dialogs.titles.size(), 1u);
    EXPECT_EQ(dialogs.titles[0], "Save Monitor Report");
    EXPECT_EQ(dialogs.folders[0], "/prog");
    EXPECT_EQ(dialogs.filters[0], "*.txt (*.txt)");
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(ReportSave, NothingOnScreenAsksNothing) {
    EXPECT_EQ(save_monitor_report(dialogs, "/prog", "").result, ReportSaveResult::NothingToSave);
    EXPECT_TRUE(dialogs.titles.empty());
}

TEST_F(ReportSave, CancelledDialogWritesNothing) {
    EXPECT_EQ(save_monitor_report(dialogs, "/prog", report).result, ReportSaveResult::Cancelled);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

TEST_F(ReportSave, ExtensionRuleAppliesBeforeTheOverwriteQuestion) {
    // "old" becomes "old.txt", which exists: the question names old.txt, and
    // No leaves it alone and asks for another name.
    write("old.txt", "keep me");
    dialogs.names = {path("old"), path("other.LOG")};
    dialogs.answers = {Answer::No};
    const ReportSaveOutcome r = save_monitor_report(dialogs, "/prog", report);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], path("old.txt") + " exists. Overwrite it ?");
    EXPECT_TRUE(dialogs.cancel_offered);
    EXPECT_EQ(read("old.txt"), QByteArray("keep me"));
    EXPECT_EQ(dialogs.titles.size(), 2u);
    EXPECT_EQ(r.result, ReportSaveResult::Written);
    EXPECT_EQ(r.path, path("other.txt"));
    EXPECT_EQ(read("other.txt"), QByteArray::fromStdString(report + "\r\n"));
}

TEST_F(ReportSave, YesOverwritesAndCancelStops) {
    write("a.txt", "old");
    dialogs.names = {path("a.txt")};
    dialogs.answers = {Answer::Cancel};
    EXPECT_EQ(save_monitor_report(dialogs, "/prog", report).result, ReportSaveResult::Cancelled);
    EXPECT_EQ(read("a.txt"), QByteArray("old"));

    dialogs.names = {path("a.txt")};
    dialogs.answers = {Answer::Yes};
    EXPECT_EQ(save_monitor_report(dialogs, "/prog", report).result, ReportSaveResult::Written);
    EXPECT_EQ(read("a.txt"), QByteArray::fromStdString(report + "\r\n"));

    // ".TXT" counts as the extension and the name keeps its own spelling.
    dialogs.names = {path("b.TXT")};
    const ReportSaveOutcome r = save_monitor_report(dialogs, "/prog", report);
    EXPECT_EQ(r.path, path("b.TXT"));
    EXPECT_EQ(read("b.TXT"), QByteArray::fromStdString(report + "\r\n"));
}

TEST_F(ReportSave, UnwritableFolderFailsQuietly) {
    dialogs.names = {path("no-such-folder/r.txt")};
    const ReportSaveOutcome r = save_monitor_report(dialogs, "/prog", report);
    EXPECT_EQ(r.result, ReportSaveResult::WriteFailed);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ReportSave, ExistenceIsAskedOfTheGivenTest) {
    std::set<std::string> asked;
    dialogs.names = {path("x.txt")};
    dialogs.answers = {Answer::Cancel};
    const auto r = save_monitor_report(dialogs, "/prog", report, [&](const std::string& p) {
        asked.insert(p);
        return true;
    });
    EXPECT_EQ(r.result, ReportSaveResult::Cancelled);
    EXPECT_EQ(asked, std::set<std::string>{path("x.txt")});
}

}  // namespace
}  // namespace t27
