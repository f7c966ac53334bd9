// SPDX-License-Identifier: MIT
#include "qon/graphic_set_creator/graphic_set_commands.h"

#include <array>
#include <exception>
#include <filesystem>
#include <map>

#include "qon/data/error.h"
#include "qon/data/paths.h"
#include "qon/data/text.h"
#include "qon/tools_common/error_text.h"
#include "qon/tools_common/picture_file.h"
#include "qon/tools_common/qt_text.h"
#include "qon/tools_common/unsaved_changes.h"

namespace qon::graphic_set_creator {

using tools_common::fromQ;
using tools_common::toQ;

namespace {

// The data library's slot names, here so that they are translated with the tool's texts.
[[maybe_unused]] constexpr const char* kSlotLabelTexts[] = {
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック1"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック2"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック3"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック4"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック5"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック6"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック7"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ブロック8"),
    QT_TRANSLATE_NOOP("BitmapSlot", "壊れないブロック"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ピン"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ミニボール（アイテム）"),
    QT_TRANSLATE_NOOP("BitmapSlot", "磁石"),
    QT_TRANSLATE_NOOP("BitmapSlot", "風（←）"),
    QT_TRANSLATE_NOOP("BitmapSlot", "風（→）"),
    QT_TRANSLATE_NOOP("BitmapSlot", "風（↓）"),
    QT_TRANSLATE_NOOP("BitmapSlot", "風（↑）"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ワープ"),
    QT_TRANSLATE_NOOP("BitmapSlot", "バー伸びる"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ファイアボール"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ボム"),
    QT_TRANSLATE_NOOP("BitmapSlot", "メインボール"),
    QT_TRANSLATE_NOOP("BitmapSlot", "ミニボール（ボール）"),
    QT_TRANSLATE_NOOP("BitmapSlot", "バー"),
};
static_assert(std::size(kSlotLabelTexts) == kBitmapSlots);

QString slotLabel(int slot) {
    return SlotLabel(slot);
}

// What keeps a text from being one line of a Shift-JIS file; empty when nothing does.
// A line break would shift every later line of the file, so it is refused like an
// unrepresentable character.
QString lineProblem(const std::string& text) {
    if (text.find_first_of("\r\n") != std::string::npos)
        return QCoreApplication::translate("GraphicSetCommands", "改行");
    if (IsCp932Representable(text)) return {};
    for (uint codePoint : toQ(text).toUcs4()) {
        const char32_t one = codePoint;
        const QString character = QString::fromUcs4(&one, 1);
        if (!IsCp932Representable(fromQ(character))) {
            return QCoreApplication::translate("GraphicSetCommands",
                                               "Shift-JIS で書けない文字「%1」")
                .arg(character);
        }
    }
    return QCoreApplication::translate("GraphicSetCommands", "Shift-JIS で書けない文字");
}

// A failure in the tool's words: a data error in the tool's language, anything else as it came.
QString failureText(const std::exception& error) {
    if (const auto* dataError = dynamic_cast<const DataError*>(&error))
        return tools_common::ErrorText(*dataError);
    return toQ(error.what());
}

}  // namespace

QString SlotLabel(int slot) {
    const std::string label(BitmapSlotLabel(slot));
    return QCoreApplication::translate("BitmapSlot", label.c_str());
}

QString GraphicSetFilter() {
    return QCoreApplication::translate("GraphicSetCommands",
                                       "QONグラフィックプロジェクト/*.bgp (*.bgp)");
}

QString BitmapFilter(int slot) {
    switch (GroupOf(slot)) {
        case SlotGroup::Blocks:
            return QCoreApplication::translate("GraphicSetCommands", "ブロック%1/*.bmp (*.bmp)")
                .arg(slot + 1);
        case SlotGroup::SpecialBlocks:
            return QCoreApplication::translate("GraphicSetCommands", "特殊ブロック/*.bmp (*.bmp)");
        case SlotGroup::Parts:
            return QCoreApplication::translate("GraphicSetCommands", "パーツ/*.bmp (*.bmp)");
    }
    return {};
}

GraphicSetCommands::GraphicSetCommands(GraphicSetDocument& document,
                                       tools_common::Prompter& prompter, const ImageLoader& loader)
    : m_document(document),
      m_prompter(prompter),
      m_loader(loader),
      m_copier(prompter, QString::fromUtf8(kWindowTitle),
               QCoreApplication::translate("GraphicSetCommands", "グラフィックセット"),
               kMaxBitmapFileBytes) {}

void GraphicSetCommands::setDialogParent(QWidget* parent) {
    m_parent = parent;
    m_copier.setDialogParent(parent);
}

void GraphicSetCommands::tell(const QString& text) {
    m_prompter.message(m_parent, QString::fromUtf8(kWindowTitle), text);
}

GraphicSetCommands::Pick GraphicSetCommands::pickBitmap(int slot, std::string& path,
                                                        QImage& picture) {
    // The filter names only block numbers, so the caption names the slot for all.
    const auto chosen = m_prompter.openFile(
        m_parent,
        QCoreApplication::translate("GraphicSetCommands", "画像を開く - %1").arg(slotLabel(slot)),
        BitmapFilter(slot));
    if (!chosen) return Pick::Cancelled;

    QString error;
    picture = m_loader.load(*chosen, error);
    if (picture.isNull()) {
        tell(QCoreApplication::translate("GraphicSetCommands",
                                         "「%1」の画像を読み込めません。\n%2\n%3")
                 .arg(slotLabel(slot), *chosen, error));
        return Pick::Refused;
    }
    // Width before height; either one wrong refuses the bitmap.
    const BitmapSize required = RequiredBitmapSize(slot);
    if (picture.width() != required.width || picture.height() != required.height) {
        tell(QCoreApplication::translate("GraphicSetCommands", kWrongSizeMessage));
        return Pick::Refused;
    }
    path = fromQ(*chosen);
    return Pick::Accepted;
}

bool GraphicSetCommands::chooseGroup(SlotGroup group) {
    const SlotRange range = RangeOf(group);
    // Each pick goes into the document at once, so the author sees it while choosing the
    // next; a cancel puts back the group as it was before the run, and a refused bitmap
    // empties the group whatever it held before.
    const GraphicSetDocument::GroupState before = m_document.groupState(group);
    for (int slot = range.first; slot < range.first + range.count; ++slot) {
        std::string path;
        QImage picture;
        switch (pickBitmap(slot, path, picture)) {
            case Pick::Accepted:
                m_document.setSlot(slot, std::move(path), std::move(picture));
                if (m_pickShown) m_pickShown(slot);
                break;
            case Pick::Cancelled:
                m_document.restoreGroup(before);
                return false;
            case Pick::Refused:
                m_document.clearGroup(group);
                return false;
        }
    }
    return true;
}

bool GraphicSetCommands::ChooseSlot(int slot) {
    std::string path;
    QImage picture;
    if (pickBitmap(slot, path, picture) != Pick::Accepted) return false;
    m_document.setSlot(slot, std::move(path), std::move(picture));
    return true;
}

bool GraphicSetCommands::settleUnsavedChanges() {
    if (!m_document.isModified()) return true;
    return tools_common::SettleUnsavedChanges(
        m_prompter, m_parent, QString::fromUtf8(kWindowTitle),
        QCoreApplication::translate(
            "GraphicSetCommands", "グラフィックセットへの変更が保存されていません。保存しますか？"),
        [this] { return SaveSet(); });
}

bool GraphicSetCommands::NewSet() {
    if (!settleUnsavedChanges()) return false;
    m_document.reset();
    return true;
}

bool GraphicSetCommands::OpenSet() {
    if (!settleUnsavedChanges()) return false;
    const auto chosen = m_prompter.openFile(
        m_parent, QCoreApplication::translate("GraphicSetCommands", "グラフィックセットを開く"),
        GraphicSetFilter());
    if (!chosen) return false;
    return openPath(fromQ(*chosen));
}

bool GraphicSetCommands::OpenSetFrom(const std::string& path) {
    if (!settleUnsavedChanges()) return false;
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        QString text = QCoreApplication::translate("GraphicSetCommands",
                                                   "グラフィックセット %1 が見つかりません。")
                           .arg(toQ(path));
        if (m_recent && m_recent->contains(toQ(path))) {
            text += QCoreApplication::translate("GraphicSetCommands",
                                                "\n最近使ったファイルの一覧から外します。");
            m_recent->remove(toQ(path));
        }
        tell(text);
        return false;
    }
    m_prompter.noteFileUsed(toQ(path));
    return openPath(path);
}

bool GraphicSetCommands::openPath(const std::string& setPath) {
    const QString chosen = toQ(setPath);
    GraphicSetFile file;
    try {
        file = ReadGraphicSetFile(setPath);
    } catch (const std::exception& error) {
        // Nothing of a file that cannot be read as a whole is taken over.
        tell(QCoreApplication::translate("GraphicSetCommands",
                                         "グラフィックセットを開けません。\n%1")
                 .arg(failureText(error)));
        return false;
    }

    m_document.setSetName(file.setName);
    m_document.setStaffName(file.staffName);
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const std::string& name = file.bitmaps[slot];
        QString error;
        QImage picture;
        QString bitmapPath;
        std::string nameFolder;
        try {
            nameFolder = FolderOf(setPath);
            bitmapPath = toQ(GraphicBitmapPath(setPath, name));
            picture = m_loader.load(bitmapPath, error);
        } catch (const DataError& failure) {
            error = tools_common::toQ(failure.reason());
        } catch (const std::exception& failure) {
            error = toQ(failure.what());
        }
        if (name.empty())
            error = QCoreApplication::translate("GraphicSetCommands", "ファイル名が空です。");
        if (picture.isNull() || name.empty()) {
            // The failing slot keeps the name the file gives, without a picture.
            m_document.setSlot(slot, name, QImage(), nameFolder);
            m_document.forgetFile();
            m_document.setModified();
            tell(QCoreApplication::translate("GraphicSetCommands",
                                             "グラフィックセット %1 を開く途中で止まりました。\n"
                                             "%2 行目（%3）の画像 %4 を読み込めません：%5\n"
                                             "これより後の画像は前の内容のままです。")
                     .arg(chosen, QString::number(slot + 3), slotLabel(slot), bitmapPath, error));
            return false;
        }
        m_document.setSlot(slot, name, std::move(picture), nameFolder);
    }
    m_document.markSaved(setPath);
    if (m_recent) m_recent->add(chosen);
    return true;
}

bool GraphicSetCommands::checkSavable() {
    const int empty = m_document.firstEmptySlot();
    if (empty >= 0) {
        tell(QCoreApplication::translate("GraphicSetCommands",
                                         "「%1」の画像が選ばれていません。\n"
                                         "すべての画像を選んでから保存してください。")
                 .arg(slotLabel(empty)));
        return false;
    }
    const std::array<std::pair<const char*, const std::string*>, 2> texts = {{
        {QT_TRANSLATE_NOOP("GraphicSetCommands", "グラフィックセット名"), &m_document.setName()},
        {QT_TRANSLATE_NOOP("GraphicSetCommands", "製作者"), &m_document.staffName()},
    }};
    for (const auto& [field, text] : texts) {
        const QString problem = lineProblem(*text);
        if (!problem.isEmpty()) {
            tell(QCoreApplication::translate("GraphicSetCommands",
                                             "%1に%2が含まれているため保存できません。")
                     .arg(QCoreApplication::translate("GraphicSetCommands", field), problem));
            return false;
        }
    }
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const std::string name = FileNameOf(m_document.entry(slot));
        const QString problem = lineProblem(name);
        if (!problem.isEmpty()) {
            tell(QCoreApplication::translate(
                     "GraphicSetCommands",
                     "「%1」の画像のファイル名 %2 に%3が含まれているため保存できません。\n"
                     "ファイル名を変えてから選び直してください。")
                     .arg(slotLabel(slot), toQ(name), problem));
            return false;
        }
    }
    return true;
}

bool GraphicSetCommands::bringBitmapsBeside(const std::string& setPath) {
    std::vector<std::string> bitmaps;
    for (int slot = 0; slot < kBitmapSlots; ++slot) bitmaps.push_back(m_document.bitmapPath(slot));
    std::map<std::string, std::string> copies;
    if (!tools_common::BesideSetCopier::SaveGoesOn(m_copier.offer(bitmaps, setPath, copies)))
        return false;
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        auto copy = copies.find(m_document.bitmapPath(slot));
        if (copy != copies.end()) m_document.relocate(slot, copy->second);
    }
    return true;
}

bool GraphicSetCommands::saveTo(const std::string& path) {
    if (!bringBitmapsBeside(path)) return false;
    return writeTo(path);
}

bool GraphicSetCommands::writeTo(const std::string& path) {
    try {
        WriteGraphicSetFile(path, m_document.toFile());
    } catch (const std::exception& error) {
        tell(QCoreApplication::translate("GraphicSetCommands", "保存できませんでした。\n%1")
                 .arg(failureText(error)));
        return false;
    }
    m_document.markSaved(path);
    if (m_recent) m_recent->add(toQ(path));
    return true;
}

QString GraphicSetCommands::suggestedSavePath() const {
    if (!m_document.currentFile().empty()) return toQ(m_document.currentFile());
    // The set must lie beside its bitmaps, so start in the folder of a picked one.
    for (int slot = 0; slot < kBitmapSlots; ++slot) {
        const std::string entry = m_document.bitmapPath(slot);
        if (entry.find('/') == std::string::npos) continue;
        std::string name = m_document.setName();
        if (name.empty() || name.find('/') != std::string::npos) name = "New";
        return toQ(FolderOf(entry) + name + ".bgp");
    }
    return {};
}

bool GraphicSetCommands::SaveSetAs() {
    if (!checkSavable()) return false;
    const auto chosen = m_prompter.saveFile(
        m_parent,
        QCoreApplication::translate("GraphicSetCommands", "グラフィックセットを名前を付けて保存"),
        GraphicSetFilter(), suggestedSavePath());
    if (!chosen) return false;
    return saveTo(fromQ(*chosen));
}

bool GraphicSetCommands::SaveSet() {
    if (!m_document.fileOpened()) return SaveSetAs();
    if (!checkSavable()) return false;
    return saveTo(m_document.currentFile());
}

}  // namespace qon::graphic_set_creator
