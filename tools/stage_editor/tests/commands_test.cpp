// SPDX-License-Identifier: MIT
// The editor's file commands without a window: every dialog and question is answered by a
// scripted prompter, and the files are read back from disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "graphic_set_files.h"
#include "painting.h"
#include "qon/data/stage.h"
#include "qon/stage_editor/stage_project_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/testing/watchdog.h"

namespace qon::stage_editor {
namespace {

using test::MakeGraphicSet;
using test::PaintCell;
using test::SlotColour;
using test_support::Exists;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using tools_common::Prompter;
using tools_common::ScriptedPrompter;
using tools_common::toQ;

QON_PRINT_ROWS_BY_NAME

class StageProjectCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        commands.setShowChanges([this] {
            ++shown;
            messagesWhenShown = static_cast<int>(prompter.messages.size());
        });
    }
    void answer(const std::string& path) { prompter.fileAnswers.push_back(toQ(path)); }
    // A saved two-stage project with paint in stage 1, written by a separate document into
    // a folder of its own (stage files are named by number only).
    std::string savedProject(const std::string& name, int kind) {
        StageProjectDocument other;
        other.newProject(name, 2, "Ann");
        PaintCell(other, 1, 1, kind);
        const std::string path = dir.folder(name) + name + ".stp";
        EXPECT_EQ(other.writeProject(path), std::nullopt);
        return path;
    }

    ScratchFolder dir;
    EditorSettings settings{toQ(dir.file("tessel.ini"))};
    StageProjectDocument document;
    BlockImages images;
    ScriptedPrompter prompter;
    StageProjectCommands commands{document, images, prompter, dir.path(), &settings};
    int shown = 0;
    int messagesWhenShown = -1;
};

TEST_F(StageProjectCommandsTest, NewProjectStartsWhatWasTyped) {
    ASSERT_TRUE(commands.createProject({"Spring", "3", "Ann"}));
    EXPECT_TRUE(document.state().ProjectOpen);
    EXPECT_EQ(document.state().StageCount, 3);
    EXPECT_EQ(document.titleText(), "QONCreater-Spring-製作者：Ann");
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.unsavedQuestions, 0);
}

TEST_F(StageProjectCommandsTest, RefusedNewProjectSaysWhyAndChangesNothing) {
    EXPECT_FALSE(commands.createProject({"Spring", "", "Ann"}));
    EXPECT_FALSE(commands.createProject({"Spring", "0", "Ann"}));
    EXPECT_EQ(prompter.messages,
              (QStringList{
                  QStringLiteral("何も入力されていない項目があります。"),
                  QStringLiteral("ステージ数には 1 から 32767 までの整数を入力してください。")}));
    EXPECT_FALSE(document.state().ProjectOpen);
}

TEST_F(StageProjectCommandsTest, OverwriteOfANewProjectAsksForANameOnceAndAddsTheSuffix) {
    ASSERT_TRUE(commands.createProject({"Spring", "2", "Ann"}));
    PaintCell(document, 0, 0, 4);
    answer(dir.file("Spring"));
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(prompter.dialogCaptions, QStringList{QStringLiteral("名前を付けて保存")});
    EXPECT_EQ(prompter.dialogFilters, QStringList{QStringLiteral("ステージプロジェクト (*.stp)")});
    EXPECT_EQ(document.state().ProjectPath, dir.file("Spring.stp"));
    EXPECT_EQ(ReadBytes(dir.file("Spring.stp")), "Spring\r\n2\r\nAnn\r\n");
    EXPECT_TRUE(Exists(dir.file("Stage2.stg")));
    EXPECT_EQ(ReadBytes(dir.file("qonsave.sav")), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(shown, 1);

    PaintCell(document, 1, 0, 5);
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(prompter.dialogCaptions.size(), 1);  // no second dialog
    StageGrid game;
    ResetGrid(game);
    ReadStageFile(dir.file("Spring.stp"), 1, game);
    EXPECT_EQ(game[1].Kind, 5);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(StageProjectCommandsTest, OpenReadsTheChosenProject) {
    const std::string path = savedProject("Haru", 7);
    answer(path);
    ASSERT_TRUE(commands.openProject());
    EXPECT_EQ(prompter.dialogCaptions, QStringList{QStringLiteral("開く")});
    EXPECT_EQ(prompter.dialogFilters, QStringList{QStringLiteral("ステージプロジェクト (*.stp)")});
    EXPECT_EQ(document.state().ProjectPath, path);
    EXPECT_EQ(document.kindAt(1, 1), 7);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(StageProjectCommandsTest, FailedOpenSaysWhyAndKeepsTheProject) {
    ASSERT_TRUE(commands.createProject({"Keep", "2", "Me"}));
    answer(dir.file("missing.stp"));
    EXPECT_FALSE(commands.openProject());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(
        QStringLiteral("ステージプロジェクトを開けませんでした。\n\n")));
    EXPECT_TRUE(prompter.messages[0].contains(QStringLiteral("missing.stp")));
    EXPECT_EQ(document.state().ProjectName, "Keep");
    EXPECT_EQ(document.state().StageCount, 2);
}

TEST_F(StageProjectCommandsTest, FailedSaveSaysWhyAndKeepsTheWorkUnsaved) {
    ASSERT_TRUE(commands.createProject({"Spring", "1", "Ann"}));
    PaintCell(document, 0, 0, 1);
    answer(dir.file("no-such-folder/a.stp"));
    EXPECT_FALSE(commands.saveAs());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(
        QStringLiteral("ステージプロジェクトを保存できませんでした。\n\n")));
    EXPECT_TRUE(prompter.messages[0].contains(QStringLiteral("no-such-folder")));
    EXPECT_TRUE(document.state().ProjectPath.empty());
    EXPECT_TRUE(document.isModified());
}

TEST_F(StageProjectCommandsTest, CancelledDialogsStaySilentAndChangeNothing) {
    EXPECT_FALSE(commands.saveAs());  // no project: no dialog either
    EXPECT_FALSE(commands.save());
    EXPECT_TRUE(prompter.dialogCaptions.isEmpty());
    ASSERT_TRUE(commands.createProject({"Spring", "2", "Ann"}));
    EXPECT_FALSE(commands.saveAs());
    EXPECT_FALSE(commands.openProject());
    EXPECT_FALSE(commands.openGraphicSet());
    EXPECT_EQ(prompter.dialogCaptions.size(), 3);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(document.state().ProjectName, "Spring");
    EXPECT_TRUE(document.state().ProjectPath.empty());
}

// What New, Open and closing do with unsaved paint, by the author's answer.
enum class Leave { New, Open, Close };

struct UnsavedRow {
    const char* name;
    Leave leave = Leave::Close;
    Prompter::Answer answer = Prompter::Answer::Cancel;
    bool hasFile = true;  // the project was saved before, so Save needs no dialog
    bool proceeds = false;
    bool written = false;  // the paint reached the project's file
};

class UnsavedPaint : public StageProjectCommandsTest,
                     public ::testing::WithParamInterface<UnsavedRow> {};

TEST_P(UnsavedPaint, IsSavedDroppedOrKept) {
    const UnsavedRow& row = GetParam();
    const std::string other = savedProject("Other", 2);
    ASSERT_TRUE(commands.createProject({"Spring", "2", "Ann"}));
    if (row.hasFile) {
        answer(dir.file("Spring.stp"));
        ASSERT_TRUE(commands.saveAs());
    }
    PaintCell(document, 3, 3, 6);
    prompter.unsavedAnswers = {row.answer};
    if (row.leave == Leave::Open) answer(other);
    const auto dialogsBefore = prompter.dialogCaptions.size();

    bool proceeded = false;
    switch (row.leave) {
        case Leave::New:
            proceeded = commands.createProject({"Autumn", "4", "Bo"});
            break;
        case Leave::Open:
            proceeded = commands.openProject();
            break;
        case Leave::Close:
            proceeded = commands.confirmClose();
            break;
    }

    EXPECT_EQ(proceeded, row.proceeds);
    EXPECT_EQ(prompter.unsavedTexts,
              QStringList{QStringLiteral("ステージプロジェクト「Spring」には保存していない変更が"
                                         "あります。\n保存しますか？")});
    if (row.answer == Prompter::Answer::Cancel) {
        EXPECT_EQ(prompter.dialogCaptions.size(), dialogsBefore);  // asked before any dialog
    }
    if (row.hasFile) {
        StageGrid game;
        ResetGrid(game);
        ReadStageFile(dir.file("Spring.stp"), 1, game);
        EXPECT_EQ(game[3 * kGridColumns + 3].Kind, row.written ? 6 : Kind::kEmpty);
    }
    if (!row.proceeds) {
        EXPECT_EQ(document.state().ProjectName, "Spring");
        EXPECT_EQ(document.kindAt(3, 3), 6);
    }
}

const UnsavedRow kUnsavedRows[] = {
    {.name = "CancelBeforeOpenShowsNoDialog", .leave = Leave::Open},
    {.name = "DiscardBeforeOpenOpensTheOtherProject",
     .leave = Leave::Open,
     .answer = Prompter::Answer::Discard,
     .proceeds = true},
    {.name = "SaveBeforeOpenWritesThePaintFirst",
     .leave = Leave::Open,
     .answer = Prompter::Answer::Save,
     .proceeds = true,
     .written = true},
    {.name = "CancelBeforeNewKeepsThePaint", .leave = Leave::New},
    {.name = "DiscardBeforeNewStartsOver",
     .leave = Leave::New,
     .answer = Prompter::Answer::Discard,
     .proceeds = true},
    {.name = "SaveBeforeClosingWritesThePaint",
     .answer = Prompter::Answer::Save,
     .proceeds = true,
     .written = true},
    {.name = "DiscardLetsTheWindowClose", .answer = Prompter::Answer::Discard, .proceeds = true},
    {.name = "CancelKeepsTheWindowOpen"},
    {.name = "SaveWithACancelledNameDialogKeepsTheWindowOpen",
     .answer = Prompter::Answer::Save,
     .hasFile = false},
};
INSTANTIATE_TEST_SUITE_P(Answers, UnsavedPaint, ::testing::ValuesIn(kUnsavedRows), RowName);

TEST_F(StageProjectCommandsTest, NothingIsAskedWithoutUnsavedPaint) {
    EXPECT_TRUE(commands.confirmClose());
    ASSERT_TRUE(commands.createProject({"Spring", "2", "Ann"}));
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_EQ(prompter.unsavedQuestions, 0);
}

TEST_F(StageProjectCommandsTest, GraphicSetReplacesThePaletteWithoutAMessage) {
    answer(MakeGraphicSet(dir, 25));
    ASSERT_TRUE(commands.openGraphicSet());
    EXPECT_EQ(prompter.dialogCaptions, QStringList{QStringLiteral("グラフィックセットを開く")});
    EXPECT_EQ(prompter.dialogFilters,
              QStringList{QStringLiteral("QONグラフィックプロジェクト/*.bgp (*.bgp)")});
    EXPECT_EQ(images.SBlockS[10].pixel(20, 7), SlotColour(19));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

struct GraphicSetRow {
    const char* name;
    int lines = 25;  // 0: no set file at all
    const char* messageStart = "";
};

class GraphicSetProblem : public StageProjectCommandsTest,
                          public ::testing::WithParamInterface<GraphicSetRow> {};

TEST_P(GraphicSetProblem, IsShownAfterTheNewImages) {
    const GraphicSetRow& row = GetParam();
    answer(row.lines > 0 ? MakeGraphicSet(dir, row.lines) : dir.file("none.bgp"));
    EXPECT_FALSE(commands.openGraphicSet());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(QString::fromUtf8(row.messageStart)))
        << prompter.messages[0].toStdString();
    // The window shows what was loaded before the message box covers it.
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(messagesWhenShown, 0);
}

const GraphicSetRow kGraphicSetRows[] = {
    {.name = "MissingSetLoadsNothing",
     .lines = 0,
     .messageStart = "グラフィックセットを開けませんでした。\n\n"},
    {.name = "ShortSetKeepsWhatItRead",
     .lines = 12,
     .messageStart =
         "グラフィックセットを最後まで読み込めませんでした。読み込めた画像だけを使います。"},
};
INSTANTIATE_TEST_SUITE_P(Sets, GraphicSetProblem, ::testing::ValuesIn(kGraphicSetRows), RowName);

// ---- Save as into a folder that holds another project -----------------------------------

// A folder holding the project "Odd.stp" of two stages, with its stage files and progress.
struct OddFolder {
    explicit OddFolder(const ScratchFolder& dir) : folder(dir.folder("shared")) {
        StageProjectDocument odd;
        odd.newProject("Odd", 2, "Ann");
        PaintCell(odd, 0, 0, 3);
        EXPECT_EQ(odd.writeProject(folder + "Odd.stp"), std::nullopt);
        test_support::WriteBytes(folder + "qonsave.sav", " 2 \r\n 1 \r\n 1 \r\n 1 \r\n");
        for (const char* name : {"Odd.stp", "Stage1.stg", "Stage2.stg", "qonsave.sav"}) {
            before[name] = ReadBytes(folder + name);
        }
    }
    std::string folder;
    std::map<std::string, std::string> before;
};

TEST_F(StageProjectCommandsTest, SaveAsOverAnotherProjectAsksAndNoLeavesEveryFileAlone) {
    const OddFolder odd(dir);
    ASSERT_TRUE(commands.createProject({"Another", "3", "Bo"}));
    PaintCell(document, 1, 1, 5);
    answer(odd.folder + "Another");
    EXPECT_FALSE(commands.saveAs());
    EXPECT_EQ(prompter.yesNoTexts,
              QStringList{QStringLiteral(
                  "保存先のフォルダには別のステージプロジェクト「Odd.stp」があります。\n"
                  "保存すると、次のファイルが置き換えられます。\n"
                  "\n・「Odd.stp」のステージファイル Stage1.stg～Stage2.stg（2 個）"
                  "\n・セーブファイル qonsave.sav（遊んだ記録がすべてステージ 1 に戻ります）"
                  "\n\n保存しますか？")});
    for (const auto& [name, bytes] : odd.before) EXPECT_EQ(ReadBytes(odd.folder + name), bytes);
    EXPECT_FALSE(Exists(odd.folder + "Another.stp"));
    EXPECT_FALSE(Exists(odd.folder + "Stage3.stg"));
    EXPECT_TRUE(document.state().ProjectPath.empty());
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(StageProjectCommandsTest, SaveAsOverAnotherProjectSavesWhenTheAuthorSaysYes) {
    const OddFolder odd(dir);
    ASSERT_TRUE(commands.createProject({"Another", "3", "Bo"}));
    PaintCell(document, 1, 1, 5);
    answer(odd.folder + "Another.stp");
    prompter.yesNoAnswers = {true};
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(prompter.yesNoTexts.size(), 1);
    EXPECT_EQ(document.state().ProjectPath, odd.folder + "Another.stp");
    EXPECT_EQ(ReadBytes(odd.folder + "qonsave.sav"), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");
    EXPECT_EQ(ReadBytes(odd.folder + "Odd.stp"), odd.before.at("Odd.stp"));
    StageGrid game;
    ResetGrid(game);
    ReadStageFile(odd.folder + "Another.stp", 1, game);
    EXPECT_EQ(game[1 * kGridColumns + 1].Kind, 5);

    // The author chose this folder: overwriting the project there asks nothing more.
    PaintCell(document, 2, 2, 6);
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(prompter.yesNoTexts.size(), 1);
}

TEST_F(StageProjectCommandsTest, SaveAsIntoAFolderOfItsOwnAsksNothing) {
    ASSERT_TRUE(commands.createProject({"Spring", "2", "Ann"}));
    answer(dir.folder("own") + "Spring.stp");
    ASSERT_TRUE(commands.saveAs());
    answer(dir.folder("own") + "Spring.stp");  // saved as itself once more
    ASSERT_TRUE(commands.saveAs());
    EXPECT_TRUE(prompter.yesNoTexts.isEmpty());
}

TEST(StageProjectSaveClash, QuestionShowsRunsOfStageFilesAndEveryProject) {
    SaveClash clash;
    clash.projects = {{"Big.stp", {1, 2, 3, 5, 7, 8}}, {"Odd.stp", {}}};
    clash.saveFileReset = true;
    EXPECT_EQ(SaveClashQuestion(clash),
              QStringLiteral("保存先のフォルダには別のステージプロジェクト「Big.stp」「Odd.stp」"
                             "があります。\n保存すると、次のファイルが置き換えられます。\n"
                             "\n・「Big.stp」のステージファイル Stage1.stg～Stage3.stg、"
                             "Stage5.stg、Stage7.stg～Stage8.stg（6 個）"
                             "\n・セーブファイル qonsave.sav（遊んだ記録がすべてステージ 1 に"
                             "戻ります）\n\n保存しますか？"));
    EXPECT_TRUE(SaveClashQuestion(SaveClash{}).isEmpty());
}

// ---- a save in progress ---------------------------------------------------------------------

// Stands in for the progress dialog: runs `onUpdate` at every report (as the dialog lets
// events through), and cancels from report `cancelAt` on.
class ScriptedProgress final : public SaveProgress {
  public:
    ScriptedProgress(std::function<void()> onUpdate, int cancelAt, int& reports)
        : m_onUpdate(std::move(onUpdate)), m_cancelAt(cancelAt), m_reports(reports) {}
    bool update(const ProjectSaveProgress&) override {
        if (m_onUpdate) m_onUpdate();
        return m_reports++ < m_cancelAt;
    }

  private:
    std::function<void()> m_onUpdate;
    int m_cancelAt;
    int& m_reports;
};

class SaveInProgress : public StageProjectCommandsTest {
  protected:
    void SetUp() override {
        StageProjectCommandsTest::SetUp();
        commands.setSaveProgress([this](QWidget*) {
            ++saves;
            return std::make_unique<ScriptedProgress>(onUpdate, cancelAt, reports);
        });
        ASSERT_TRUE(commands.createProject({"Spring", "40", "Ann"}));
        answer(dir.file("Spring.stp"));
        ASSERT_TRUE(commands.saveAs());
        saves = 0;
        reports = 0;
        before = test_support::ListFolder(dir.path());
        stage7 = ReadBytes(dir.file("Stage7.stg"));
    }
    std::function<void()> onUpdate;
    int cancelAt = 1 << 30;
    int saves = 0;
    int reports = 0;
    std::string before;
    std::string stage7;
};

TEST_F(SaveInProgress, CancelledSaveKeepsTheOldProjectAndTheUnsavedWork) {
    for (int stage = 1; stage <= 40; ++stage) {
        PaintCell(document, 0, 0, 4);
        document.stepGo();
    }
    cancelAt = 20;  // halfway through writing the stage files
    EXPECT_FALSE(commands.save());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(reports, 21);
    EXPECT_EQ(test_support::ListFolder(dir.path()), before);
    EXPECT_EQ(ReadBytes(dir.file("Stage7.stg")), stage7);
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(prompter.messages.isEmpty()) << "a cancel is not a failure";
}

TEST_F(SaveInProgress, SecondSaveOrOtherCommandWhileOneRunsIsRefused) {
    PaintCell(document, 0, 0, 4);
    std::vector<bool> refused;
    onUpdate = [&] {
        if (!refused.empty()) return;
        answer(dir.file("Other.stp"));
        refused = {!commands.save(), !commands.saveAs(), !commands.openProject(),
                   !commands.createProject({"New", "1", "Me"}), !commands.confirmClose()};
        EXPECT_TRUE(commands.isSaving());
    };
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(refused, std::vector<bool>(5, true));
    EXPECT_EQ(saves, 1) << "a second save started inside the first";
    EXPECT_EQ(prompter.dialogCaptions.size(), 1) << "a refused command showed a dialog";
    EXPECT_FALSE(Exists(dir.file("Other.stp")));
    EXPECT_FALSE(commands.isSaving());
    EXPECT_FALSE(document.isModified());
    // Once the save is over, the next one runs again.
    PaintCell(document, 1, 0, 4);
    EXPECT_TRUE(commands.save());
    EXPECT_EQ(saves, 2);
}

TEST(StageProjectHelp, PageIsReadFromTheProgramFolder) {
    ScratchFolder dir;
    EditorSettings settings(toQ(dir.file("tessel.ini")));
    StageProjectDocument document;
    BlockImages images;
    ScriptedPrompter prompter;
    StageProjectCommands commands(document, images, prompter, QON_STAGE_EDITOR_HELP_DIR, &settings);
    const std::optional<QString> page = commands.readHelpPage();
    ASSERT_TRUE(page.has_value());
    EXPECT_TRUE(page->contains(QStringLiteral("ボム")));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(StageProjectCommandsTest, MissingHelpPageIsReportedWithItsPath) {
    EXPECT_FALSE(commands.readHelpPage().has_value());
    EXPECT_EQ(prompter.messages,
              QStringList{QStringLiteral("ヘルプファイルが見つかりません。\n\nファイル: ") +
                          toQ(dir.file("Tessel.html")) +
                          QStringLiteral("\n理由: ファイルがないか、読み込めません。")});
    EXPECT_EQ(prompter.messageKinds, QList{Prompter::MessageKind::Warning});
}

TEST_F(StageProjectCommandsTest, HelpPageThatIsANamedPipeIsReportedAtOnce) {
    ASSERT_EQ(::mkfifo(dir.file("Tessel.html").c_str(), 0600), 0);
    tools_common::testing::Watchdog watchdog(std::chrono::seconds(20), "reading the help page");
    EXPECT_FALSE(commands.readHelpPage().has_value());
    EXPECT_EQ(prompter.messages.size(), 1);
}

TEST_F(StageProjectCommandsTest, VersionBoxNamesTheEditor) {
    commands.showVersion();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(
        QStringLiteral("Tessel（QONCreater）\nqon のステージエディタ\nバージョン ")));
}

// ---- messages ------------------------------------------------------------------------

TEST_F(StageProjectCommandsTest, EmptyFieldWarningHasTheWarningIconAndTheDialogsTitle) {
    EXPECT_FALSE(commands.createProject({"", "3", "Ann"}));
    EXPECT_EQ(prompter.messages,
              QStringList{QStringLiteral("何も入力されていない項目があります。")});
    EXPECT_EQ(prompter.titles, QStringList{QStringLiteral("新規作成")});
    EXPECT_EQ(prompter.messageKinds, QList{Prompter::MessageKind::Warning});
}

TEST_F(StageProjectCommandsTest, FailuresAreTitledLikeTheWindowAndExplainedInJapanese) {
    ASSERT_TRUE(commands.createProject({"Keep", "2", "Me"}));
    answer(dir.file("missing.stp"));
    EXPECT_FALSE(commands.openProject());
    answer(dir.file("none/a.stp"));
    EXPECT_FALSE(commands.saveAs());
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages[0],
              QStringLiteral("ステージプロジェクトを開けませんでした。\n\nファイル: ") +
                  toQ(dir.file("missing.stp")) + QStringLiteral("\n理由: ファイルがありません。"));
    // The save names the first file it could not write, in the missing folder.
    EXPECT_TRUE(prompter.messages[1].startsWith(
        QStringLiteral("ステージプロジェクトを保存できませんでした。\n\nファイル: ") +
        toQ(dir.file("none/"))))
        << prompter.messages[1].toStdString();
    EXPECT_TRUE(prompter.messages[1].endsWith(
        QStringLiteral("\n理由: フォルダを開けません（ファイルまたはフォルダがありません）。")))
        << prompter.messages[1].toStdString();
    EXPECT_EQ(prompter.titles, (QStringList{QStringLiteral("QONCreater-Keep-製作者：Me"),
                                            QStringLiteral("QONCreater-Keep-製作者：Me")}));
    EXPECT_EQ(prompter.messageKinds,
              (QList{Prompter::MessageKind::Warning, Prompter::MessageKind::Warning}));
}

// ---- recent projects and the remembered folder --------------------------------------------

TEST_F(StageProjectCommandsTest, OpenedAndSavedProjectsBecomeRecentMostRecentFirst) {
    const std::string haru = savedProject("Haru", 1);
    const std::string natsu = savedProject("Natsu", 2);
    answer(haru);
    ASSERT_TRUE(commands.openProject());
    answer(natsu);
    ASSERT_TRUE(commands.openProject());
    ASSERT_TRUE(commands.createProject({"Aki", "1", "Ann"}));
    answer(dir.file("Aki.stp"));
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(settings.recentProjects(),
              (QStringList{toQ(dir.file("Aki.stp")), toQ(natsu), toQ(haru)}));
    ASSERT_TRUE(commands.openProjectAt(toQ(haru)));  // as from the menu: no dialog
    EXPECT_EQ(prompter.dialogCaptions.size(), 3);
    EXPECT_EQ(settings.recentProjects().first(), toQ(haru));
}

TEST_F(StageProjectCommandsTest, ARecentProjectThatIsGoneLeavesTheList) {
    const std::string haru = savedProject("Haru", 1);
    settings.addRecentProject(toQ(haru));
    settings.addRecentProject(toQ(dir.file("gone/Gone.stp")));
    EXPECT_FALSE(commands.openProjectAt(toQ(dir.file("gone/Gone.stp"))));
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(settings.recentProjects(), QStringList{toQ(haru)});
}

TEST_F(StageProjectCommandsTest, ARelativePathIsOpenedFromTheCurrentFolder) {
    const std::string haru = savedProject("Haru", 5);
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(toQ(dir.file("Haru"))));
    const bool opened = commands.openProjectAt(QStringLiteral("Haru.stp"));
    QDir::setCurrent(current);
    ASSERT_TRUE(opened);
    EXPECT_EQ(document.state().ProjectPath, haru);
    EXPECT_EQ(document.kindAt(1, 1), 5);
}

TEST_F(StageProjectCommandsTest, DialogsStartInTheFolderLastUsed) {
    const std::string haru = savedProject("Haru", 1);
    EXPECT_FALSE(commands.openProject());  // cancelled: nothing remembered yet
    answer(haru);
    ASSERT_TRUE(commands.openProject());
    EXPECT_FALSE(commands.openGraphicSet());
    EXPECT_EQ(prompter.dialogFolders,
              (QStringList{QString(), QString(), toQ(dir.path() + "Haru")}));
    EXPECT_EQ(settings.lastFolder(), toQ(dir.path() + "Haru"));
}

// ---- stage list edits -------------------------------------------------------------------------

TEST_F(StageProjectCommandsTest, RenumberingIsNoticedOncePerSession) {
    ASSERT_TRUE(commands.createProject({"Spring", "3", "Ann"}));
    ASSERT_TRUE(commands.editStages(StageEdit::MoveLater));
    ASSERT_TRUE(commands.editStages(StageEdit::Delete));
    ASSERT_EQ(prompter.optOutTexts.size(), 1);
    EXPECT_TRUE(prompter.optOutTexts[0].contains(QStringLiteral("qonsave.sav")));
    EXPECT_EQ(shown, 1);  // the new order stands behind the notice
    EXPECT_FALSE(settings.renumberNoticeOptedOut());

    // A new session tells it again, since the author did not opt out.
    StageProjectCommands next{document, images, prompter, dir.path(), &settings};
    ASSERT_TRUE(next.editStages(StageEdit::InsertBefore));
    EXPECT_EQ(prompter.optOutTexts.size(), 2);
}

TEST_F(StageProjectCommandsTest, OptingOutSilencesTheNoticeForLaterSessions) {
    ASSERT_TRUE(commands.createProject({"Spring", "3", "Ann"}));
    prompter.optOutAnswers = {true};
    ASSERT_TRUE(commands.editStages(StageEdit::InsertBefore));
    EXPECT_TRUE(settings.renumberNoticeOptedOut());
    StageProjectCommands next{document, images, prompter, dir.path(), &settings};
    ASSERT_TRUE(next.editStages(StageEdit::MoveLater));
    EXPECT_EQ(prompter.optOutTexts.size(), 1);
}

TEST_F(StageProjectCommandsTest, EditsThatKeepEveryNumberAreNotNoticed) {
    ASSERT_TRUE(commands.createProject({"Spring", "2", "Ann"}));
    document.stepGo();
    ASSERT_TRUE(commands.editStages(StageEdit::InsertAfter));  // after the last
    ASSERT_TRUE(commands.editStages(StageEdit::Delete));       // the last
    EXPECT_FALSE(commands.editStages(StageEdit::MoveLater));   // refused: it is the last
    EXPECT_TRUE(prompter.optOutTexts.isEmpty());
    EXPECT_EQ(document.state().StageCount, 2);
}

TEST_F(StageProjectCommandsTest, GoToStageAsksForANumberInRange) {
    EXPECT_FALSE(commands.goToStage());  // no project: no question
    ASSERT_TRUE(commands.createProject({"Spring", "40", "Ann"}));
    prompter.numberAnswers = {std::optional<int>(27), std::nullopt};
    ASSERT_TRUE(commands.goToStage());
    EXPECT_EQ(document.state().EditedStage, 27);
    EXPECT_FALSE(commands.goToStage());  // cancelled
    EXPECT_EQ(document.state().EditedStage, 27);
    EXPECT_EQ(prompter.numberLabels,
              (QStringList{QStringLiteral("表示するステージの番号（1～40）"),
                           QStringLiteral("表示するステージの番号（1～40）")}));
}

}  // namespace
}  // namespace qon::stage_editor
