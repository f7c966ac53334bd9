// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "qon/data/language.h"
#include "qon/tools_common/application.h"

namespace qon::tools_common::testing {

// What is built while it lives speaks the language of `locale` ("C", "ja_JP", "en_US"), as
// the tool would under that LANG: its own texts and the data library's reasons alike.
// Afterwards texts are the Japanese sources again and the reasons speak as before. Needs the
// test program's QApplication (HeadlessQtApplication).
class LanguageScope {
  public:
    explicit LanguageScope(const char* locale) : m_before(CurrentLanguage()) {
        const ToolLanguage language = InstallTranslations(*QCoreApplication::instance(),
                                                          QLocale(QString::fromLatin1(locale)));
        SetLanguage(language == ToolLanguage::English ? Language::English : Language::Japanese);
    }
    ~LanguageScope() {
        RemoveTranslations(*QCoreApplication::instance());
        SetLanguage(m_before);
    }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

  private:
    Language m_before;
};

// A table row of one language's texts, named and placed in `locale`: the Japanese row
// serves under both C and ja_JP.
template <typename Row>
Row InLocale(Row row, const char* name, const char* locale) {
    row.name = name;
    row.locale = locale;
    return row;
}

// The text `element` shows: an action's or a button's text, a label's, the title of a menu,
// a group box or a window. Empty for anything else.
inline QString ShownText(const QObject* element) {
    if (const auto* action = qobject_cast<const QAction*>(element)) return action->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(element)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(element)) return label->text();
    if (const auto* menu = qobject_cast<const QMenu*>(element)) return menu->title();
    if (const auto* group = qobject_cast<const QGroupBox*>(element)) return group->title();
    if (const auto* widget = qobject_cast<const QWidget*>(element)) return widget->windowTitle();
    return {};
}

// Every text `window` and what it holds show, tool tips included, for elements with no name.
inline QStringList ShownTexts(const QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (const QObject* child : window.findChildren<QObject*>()) {
        const QString text = ShownText(child);
        if (!text.isEmpty()) texts << text;
        if (const auto* widget = qobject_cast<const QWidget*>(child)) {
            if (!widget->toolTip().isEmpty()) texts << widget->toolTip();
        }
        if (const auto* action = qobject_cast<const QAction*>(child)) {
            if (!action->toolTip().isEmpty()) texts << action->toolTip();
        }
    }
    return texts;
}

}  // namespace qon::tools_common::testing
