// SPDX-License-Identifier: MIT
#include "qon/set_selector/selection_lists_window.h"

#include <QCloseEvent>
#include <QColor>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <utility>

#include "qon/tools_common/qt_text.h"

namespace qon::set_selector {

namespace {

template <typename T>
T* place(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* placeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                   int width, int height) {
    auto* label = place<QLabel>(parent, name, left, top, width, height);
    label->setText(text);
    // The layout is fixed; let a label grow rather than clip its text on a wider font.
    label->resize(std::max(width, label->sizeHint().width()), height);
    return label;
}

QPushButton* placeButton(QWidget* parent, const char* name, const QString& text, int left, int top,
                         int width, int height) {
    auto* button = place<QPushButton>(parent, name, left, top, width, height);
    button->setText(text);
    return button;
}

// Draws an entry as its display name (bold) beside its path (grey, shortened in the
// middle), or, for an entry the game cannot use, a red word for the trouble beside the
// path. The item's text stays the path: that is what the list file holds.
class EntryDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // As wide as the list and never wider: the path is shortened instead of scrolled.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(1);
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        const QString path = item.text;
        // The frame, the selection and the icon as the style draws them, without the text.
        item.text.clear();
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        QRect area =
            style ? style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget) : item.rect;
        area.adjust(2, 0, -2, 0);
        const bool selected = item.state & QStyle::State_Selected;
        const auto state = static_cast<EntryInfo::State>(index.data(kEntryStateRole).toInt());
        QString lead;
        QColor leadColour = selected ? item.palette.color(QPalette::HighlightedText)
                                     : item.palette.color(QPalette::Text);
        QFont leadFont = item.font;
        switch (state) {
            case EntryInfo::State::Fits: {
                lead = index.data(kDisplayNameRole).toString();
                leadFont.setBold(true);
                if (lead.isEmpty()) {
                    lead = QCoreApplication::translate("SelectionListsWindow", "（名前なし）");
                    leadFont.setBold(false);
                    leadFont.setItalic(true);
                }
                break;
            }
            case EntryInfo::State::Missing:
                lead = QCoreApplication::translate("SelectionListsWindow", "見つかりません");
                break;
            case EntryInfo::State::WrongKind:
                lead = QCoreApplication::translate("SelectionListsWindow", "種類が違います");
                break;
            case EntryInfo::State::Unreadable:
                lead = QCoreApplication::translate("SelectionListsWindow", "読み込めません");
                break;
        }
        if (state != EntryInfo::State::Fits) {
            leadFont.setBold(true);
            if (!selected) leadColour = QColor(0xC0, 0x00, 0x00);
        }

        painter->save();
        // The name takes up to three fifths of the row; the path gets the rest.
        const QFontMetrics leadMetrics(leadFont);
        // (A pixel of slack: the advance is rounded, and eliding would cut a name that fits.)
        const int leadWidth =
            std::min(leadMetrics.horizontalAdvance(lead) + 1, area.width() * 3 / 5);
        painter->setFont(leadFont);
        painter->setPen(leadColour);
        painter->drawText(QRect(area.left(), area.top(), leadWidth, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          leadMetrics.elidedText(lead, Qt::ElideRight, leadWidth));
        const int gap = leadMetrics.horizontalAdvance(QLatin1Char(' ')) * 2;
        const QRect pathArea(area.left() + leadWidth + gap, area.top(),
                             std::max(0, area.width() - leadWidth - gap), area.height());
        painter->setFont(item.font);
        painter->setPen(selected ? item.palette.color(QPalette::HighlightedText)
                                 : item.palette.color(QPalette::PlaceholderText));
        painter->drawText(
            pathArea, Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetrics(item.font).elidedText(path, Qt::ElideMiddle, pathArea.width()));
        painter->restore();
    }
};

}  // namespace

SelectionListsWindow::SelectionListsWindow(std::string listFolder, tools_common::Prompter& prompter,
                                           QWidget* parent)
    : SelectionListsWindow(SingleGameFolder(std::move(listFolder)), prompter, parent) {}

SelectionListsWindow::SelectionListsWindow(GameFolders folders, tools_common::Prompter& prompter,
                                           QWidget* parent)
    : QWidget(parent), m_document(std::move(folders)), m_commands(m_document, prompter) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(SelectionListsCommands::kTitle));
    // The positions below are in pixels and were laid out for a 12-pixel face.
    QFont face = font();
    face.setPixelSize(12);
    setFont(face);
    setFixedSize(700, 383);
    m_commands.setDialogParent(this);

    m_labStage =
        placeLabel(this, "labStage",
                   QCoreApplication::translate("SelectionListsWindow", "登録されているステージ"), 8,
                   24, 153, 17);
    m_lisSelectStage = place<QListWidget>(this, "lisSelectStage", 8, 48, 257, 112);
    m_cmdStageApp = placeButton(this, "cmdStageApp",
                                QCoreApplication::translate("SelectionListsWindow", "ステージ追加"),
                                272, 48, 81, 25);
    m_cmdDel = placeButton(this, "cmdDel",
                           QCoreApplication::translate("SelectionListsWindow", "ステージ削除"), 272,
                           80, 81, 25);
    m_label1 = placeLabel(
        this, "Label1",
        QCoreApplication::translate("SelectionListsWindow", "登録されているグラフィックセット"),
        408, 24, 169, 17);
    m_lisBitMap = place<QListWidget>(this, "lisBitMap", 368, 48, 217, 136);
    m_command1 = placeButton(
        this, "Command1", QCoreApplication::translate("SelectionListsWindow", "グラフィック追加"),
        592, 48, 105, 25);
    m_command2 = placeButton(
        this, "Command2", QCoreApplication::translate("SelectionListsWindow", "グラフィック削除"),
        592, 80, 105, 25);
    m_label2 = placeLabel(
        this, "Label2",
        QCoreApplication::translate("SelectionListsWindow", "登録されているミュージックセット"), 8,
        216, 169, 17);
    m_lisMusicData = place<QListWidget>(this, "lisMusicData", 8, 232, 257, 124);
    m_command4 = placeButton(
        this, "Command4", QCoreApplication::translate("SelectionListsWindow", "ミュージック追加"),
        280, 232, 97, 25);
    m_command3 = placeButton(
        this, "Command3", QCoreApplication::translate("SelectionListsWindow", "ミュージック削除"),
        280, 264, 97, 25);

    // An installed game keeps the lists in the player's own folder: say where they are.
    m_labListFolder = place<QLabel>(this, "labListFolder", 8, 362, 684, 17);
    const QString listFolder = tools_common::toQ(m_document.listFolder());
    m_labListFolder->setText(m_labListFolder->fontMetrics().elidedText(
        QCoreApplication::translate("SelectionListsWindow", "リストの場所: %1").arg(listFolder),
        Qt::ElideMiddle, m_labListFolder->width()));
    m_labListFolder->setToolTip(listFolder);

    setTabOrder(m_lisSelectStage, m_cmdStageApp);
    setTabOrder(m_cmdStageApp, m_cmdDel);
    setTabOrder(m_cmdDel, m_lisBitMap);
    setTabOrder(m_lisBitMap, m_command1);
    setTabOrder(m_command1, m_command2);
    setTabOrder(m_command2, m_lisMusicData);
    setTabOrder(m_lisMusicData, m_command3);
    setTabOrder(m_command3, m_command4);

    for (QListWidget* box : {m_lisSelectStage, m_lisBitMap, m_lisMusicData}) {
        box->setSelectionMode(QAbstractItemView::SingleSelection);
        box->setIconSize(QSize(12, 12));  // the warning mark must not make its row taller
        box->setItemDelegate(new EntryDelegate(box));
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

    for (SetKind kind : kListOrder) {
        // Only the user's own choice of a row selects it in the document.
        QListWidget* box = listBox(kind);
        connect(box, &QListWidget::itemSelectionChanged, this, [this, kind, box] {
            const QList<QListWidgetItem*> chosen = box->selectedItems();
            m_document.select(kind, chosen.isEmpty() ? -1 : box->row(chosen.front()));
        });
    }

    connect(m_cmdStageApp, &QPushButton::clicked, this, [this] { cmdStageApp_Click(); });
    connect(m_command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(m_command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(m_cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(m_command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(m_command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void SelectionListsWindow::Form_Load() {
    m_commands.loadLists();
    for (SetKind kind : kListOrder) showList(kind);
}

QListWidget* SelectionListsWindow::listBox(SetKind kind) const {
    switch (kind) {
        case SetKind::Stage:
            return m_lisSelectStage;
        case SetKind::BitMap:
            return m_lisBitMap;
        case SetKind::Music:
            return m_lisMusicData;
    }
    return nullptr;
}

void SelectionListsWindow::appendItem(SetKind kind, const std::string& path) {
    auto* item = new QListWidgetItem(tools_common::toQ(path), listBox(kind));
    const EntryInfo info = DescribeEntry(kind, m_document.resolve(path));
    const QString name = tools_common::toQ(info.displayName);
    item->setData(kDisplayNameRole, name);
    item->setData(kEntryStateRole, static_cast<int>(info.state));
    item->setData(
        Qt::AccessibleTextRole,
        name.isEmpty()
            ? item->text()
            : name + QCoreApplication::translate("SelectionListsWindow", "　") + item->text());
    if (info.state == EntryInfo::State::Fits) {
        item->setToolTip(QStringLiteral("%1\n%2").arg(
            name.isEmpty() ? QCoreApplication::translate("SelectionListsWindow", "（名前なし）")
                           : name,
            item->text()));
        return;
    }
    // The entry stays (the set may come back), but the author should see it is broken.
    item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    QString tip = tools_common::toQ(info.problem);
    if (!name.isEmpty())
        tip += QCoreApplication::translate("SelectionListsWindow", "\n1 行目：%1").arg(name);
    item->setToolTip(tip + QStringLiteral("\n") + item->text());
}

void SelectionListsWindow::showList(SetKind kind) {
    QListWidget* box = listBox(kind);
    {
        const QSignalBlocker quiet(box);
        box->clear();
        for (const std::string& path : m_document.entries(kind)) appendItem(kind, path);
    }
    showSelection(kind);

    const bool editable = m_document.isEditable(kind);
    QPushButton* add = kind == SetKind::Stage    ? m_cmdStageApp
                       : kind == SetKind::BitMap ? m_command1
                                                 : m_command4;
    QPushButton* remove = kind == SetKind::Stage    ? m_cmdDel
                          : kind == SetKind::BitMap ? m_command2
                                                    : m_command3;
    add->setEnabled(editable);
    remove->setEnabled(editable);
    box->setToolTip(editable ? QString()
                             : QCoreApplication::translate(
                                   "SelectionListsWindow",
                                   "%1 を読み込めなかったため、この一覧は変更も保存もしません。")
                                   .arg(tools_common::toQ(m_document.listPath(kind))));
}

void SelectionListsWindow::showSelection(SetKind kind) {
    QListWidget* box = listBox(kind);
    const QSignalBlocker quiet(box);
    const int row = m_document.selected(kind);
    if (row < 0) {
        box->clearSelection();
        box->setCurrentRow(-1);
    } else {
        box->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

void SelectionListsWindow::addEntry(SetKind kind) {
    if (m_commands.addEntry(kind)) {
        const QSignalBlocker quiet(listBox(kind));
        appendItem(kind, m_document.entries(kind).back());
        listBox(kind)->scrollToBottom();
    }
}

void SelectionListsWindow::deleteEntry(SetKind kind) {
    const int row = m_document.selected(kind);
    if (!m_commands.deleteEntry(kind)) return;
    {
        // Taking the row out makes the next one current, and Qt would select it: the
        // document's selection (none) is shown instead.
        const QSignalBlocker quiet(listBox(kind));
        delete listBox(kind)->takeItem(row);
    }
    showSelection(kind);
}

void SelectionListsWindow::closeEvent(QCloseEvent* event) {
    if (m_commands.closeLists()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace qon::set_selector
