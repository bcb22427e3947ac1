// The edit field: the program's writes show the start of the text, the
// user's changes keep one level of undo and no history beyond it, and its
// menu speaks the user's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "app/Application.h"
#include "forms/Edit.h"

namespace vesk::test {
namespace {

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 40);
        edit.setGeometry(0, 0, 120, 24);
        window.show();
        edit.setFocus();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    // Lets the field finish with the change, as the event loop would.
    void Settle() { QCoreApplication::processEvents(); }
    void Undo() {
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        Settle();
    }

    QWidget window;
    TEdit edit{QStringLiteral("2001"), &window};
};

TEST_F(EditTest, TheProgramsWriteShowsTheStartAndLeavesNothingToUndo) {
    QTest::keyClicks(&edit, "5");
    Settle();
    ASSERT_TRUE(edit.CanUndo());
    const QString sentence = QString::fromUtf8("  2001年12月31日は（月）曜日です。");
    edit.SetText(sentence);
    EXPECT_EQ(edit.text(), sentence);
    EXPECT_EQ(edit.cursorPosition(), 0);
    EXPECT_FALSE(edit.CanUndo());
    Undo();
    EXPECT_EQ(edit.text(), sentence);
    // The same text written again still moves the cursor to the start.
    edit.setCursorPosition(5);
    edit.SetText(sentence);
    EXPECT_EQ(edit.cursorPosition(), 0);
}

TEST_F(EditTest, UndoTakesBackTheLastChangeOnlyAndUndoingAgainRestoresIt) {
    struct Step {
        const char* name;
        std::function<void(TEdit&)> change;
        const char* after;
        const char* undone;
    };
    const std::vector<Step> steps = {
        {"a run of typed characters is one change",
         [](TEdit& e) {
             e.setCursorPosition(4);
             QTest::keyClicks(&e, "123");
         },
         "2001123", "2001"},
        {"typing after a cursor move starts a new change",
         [](TEdit& e) {
             e.setCursorPosition(4);
             QTest::keyClicks(&e, "12");
             QTest::keyClick(&e, Qt::Key_Left);
             QTest::keyClicks(&e, "x");
         },
         "20011x2", "200112"},
        {"a deletion",
         [](TEdit& e) {
             e.setCursorPosition(4);
             QTest::keyClick(&e, Qt::Key_Backspace);
             QTest::keyClick(&e, Qt::Key_Backspace);
         },
         "20", "200"},
        {"replacing the selection",
         [](TEdit& e) {
             e.selectAll();
             QTest::keyClicks(&e, "9");
         },
         "9", "2001"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        edit.SetText(QStringLiteral("2001"));
        step.change(edit);
        Settle();
        ASSERT_EQ(edit.text(), QString::fromUtf8(step.after));
        Undo();
        EXPECT_EQ(edit.text(), QString::fromUtf8(step.undone));
        EXPECT_TRUE(edit.isModified());
        Undo();
        EXPECT_EQ(edit.text(), QString::fromUtf8(step.after));
    }
}

// Each character of a paste used to stay in the field's history for as long as
// the field lived.
TEST_F(EditTest, APasteLeavesNoHistoryBehindButCanBeUndone) {
    const QString large(30000, u'7');
    QGuiApplication::clipboard()->setText(large);
    edit.setCursorPosition(2);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(edit.text(), QStringLiteral("20") + large + QStringLiteral("01"));
    EXPECT_FALSE(edit.isUndoAvailable());
    EXPECT_FALSE(edit.isRedoAvailable());
    // Dropping the history keeps the cursor where the paste left it.
    EXPECT_EQ(edit.cursorPosition(), 2 + large.size());
    Undo();
    EXPECT_EQ(edit.text(), QStringLiteral("2001"));
    EXPECT_FALSE(edit.isUndoAvailable());
}

TEST_F(EditTest, AReadOnlyFieldHasNothingToUndo) {
    edit.setReadOnly(true);
    edit.setText(QStringLiteral("typed by a test"));
    EXPECT_FALSE(edit.CanUndo());
    Undo();
    EXPECT_EQ(edit.text(), QStringLiteral("typed by a test"));
}

TEST_F(EditTest, TheContextMenuUndoesTheFieldsLastChange) {
    QTest::keyClicks(&edit, "5");
    Settle();
    bool seen = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        seen = true;
        QAction* undo = menu->actions().front();
        EXPECT_TRUE(undo->isEnabled());
        menu->close();
        undo->trigger();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&edit, &event);
    EXPECT_TRUE(seen);
    EXPECT_EQ(edit.text(), QStringLiteral("2001"));
}

// The texts of the field's context menu, read while it is open.
QStringList MenuTexts(TEdit& edit) {
    QStringList texts;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) texts.push_back(action->text().section(u'\t', 0, 0));
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&edit, &event);
    return texts;
}

// The menu speaks the language of Qt's translation that the application has
// loaded for the user's locale: Japanese under ja_JP, English without one.
TEST_F(EditTest, TheContextMenuSpeaksTheUsersLanguage) {
    auto& application = *static_cast<TApplication*>(QCoreApplication::instance());
    struct Restore {
        TApplication& application;
        ~Restore() { application.LoadQtTranslation(QLocale::c()); }
    } restore{application};

    ASSERT_TRUE(application.LoadQtTranslation(QLocale(QLocale::Japanese, QLocale::Japan)));
    const QStringList japanese = MenuTexts(edit);
    ASSERT_EQ(japanese.size(), 6);
    for (const QString& text : japanese) {
        const bool inJapanese = std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() >= 0x3040 && c.unicode() <= 0x9fff;  // kana and kanji
        });
        EXPECT_TRUE(inJapanese) << text.toStdString();
    }

    EXPECT_FALSE(application.LoadQtTranslation(QLocale::c()));
    EXPECT_EQ(MenuTexts(edit),
              (QStringList{"&Undo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"}));
}

}  // namespace
}  // namespace vesk::test
