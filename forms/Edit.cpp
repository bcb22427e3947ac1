#include "forms/Edit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <algorithm>
#include <memory>

namespace vesk {
namespace {

// One character inserted into before at position at (0 <= at <= before's size)
// gives after.
bool InsertsOneCharacter(const QString& before, const QString& after, qsizetype at) {
    return at >= 0 && at <= before.size() && after.size() == before.size() + 1 &&
           QStringView(after).left(at) == QStringView(before).left(at) &&
           QStringView(after).mid(at + 1) == QStringView(before).mid(at);
}

// The line edit records every changed character in a history of its own,
// which this field never uses: it is dropped once this many characters have
// changed since it was last dropped.
constexpr qsizetype kHistoryLimit = 4096;

// What two texts share at their start and, after that, at their end.
struct CommonEnds {
    qsizetype prefix = 0;
    qsizetype suffix = 0;
};
CommonEnds Compare(const QString& a, const QString& b) {
    CommonEnds common;
    const qsizetype shorter = std::min(a.size(), b.size());
    while (common.prefix < shorter && a[common.prefix] == b[common.prefix]) ++common.prefix;
    while (common.suffix < shorter - common.prefix &&
           a[a.size() - 1 - common.suffix] == b[b.size() - 1 - common.suffix])
        ++common.suffix;
    return common;
}

// How many characters a change from before to after removes and inserts.
qsizetype ChangedCharacters(const QString& before, const QString& after) {
    const CommonEnds common = Compare(before, after);
    return before.size() + after.size() - 2 * (common.prefix + common.suffix);
}

// A menu entry with its key, as the line edit's own menu writes it.
QString Entry(const char* text, QKeySequence::StandardKey key) {
    QString entry = QLineEdit::tr(text);
    const QString keys = QKeySequence(key).toString(QKeySequence::NativeText);
    if (!keys.isEmpty()) entry += u'\t' + keys;
    return entry;
}

}  // namespace

TEdit::TEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent), shownText_(text) {
    connect(this, &QLineEdit::textChanged, this, &TEdit::TextChanged);
}

void TEdit::SetText(const QString& text) {
    programWrite_ = true;
    setText(text);
    programWrite_ = false;
    // Also when the text stays the same: the program's write shows the start.
    canUndo_ = false;
    undoText_.clear();
    typingEnd_ = -1;
    historyCharacters_ = 0;
    setCursorPosition(0);
}

void TEdit::TextChanged(const QString& text) {
    if (ownChange_) return;
    if (programWrite_) {
        // setText has emptied the line edit's own history; the undo goes too.
        shownText_ = text;
        historyCharacters_ = 0;
        return;
    }
    // The user's change. Characters typed one after another make one change.
    const qsizetype at = cursorPosition() - 1;
    const bool typed = InsertsOneCharacter(shownText_, text, at);
    if (!(typed && canUndo_ && at == typingEnd_)) {
        undoText_ = shownText_;
        canUndo_ = true;
    }
    typingEnd_ = typed ? static_cast<int>(at + 1) : -1;
    historyCharacters_ += ChangedCharacters(shownText_, text);
    shownText_ = text;
    // Drop the line edit's own history once this event is done with the field.
    if (historyCharacters_ >= kHistoryLimit && !dropPending_) {
        dropPending_ = true;
        QMetaObject::invokeMethod(this, &TEdit::DropHistory, Qt::QueuedConnection);
    }
}

void TEdit::DropHistory() {
    dropPending_ = false;
    historyCharacters_ = 0;
    if (!isUndoAvailable() && !isRedoAvailable()) return;
    const int cursor = cursorPosition();
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    const bool modified = isModified();
    const QSignalBlocker quiet(this);
    ownChange_ = true;
    setText(text());  // empties the history; same text, so nothing is announced
    ownChange_ = false;
    if (length == 0) {
        setCursorPosition(cursor);
    } else if (cursor == start) {
        setSelection(start + length, -length);
    } else {
        setSelection(start, length);
    }
    setModified(modified);
}

void TEdit::Undo() {
    if (!CanUndo()) return;
    const QString restored = undoText_;
    undoText_ = text();
    shownText_ = restored;
    typingEnd_ = -1;
    // The cursor goes to the end of what changed.
    const qsizetype suffix = Compare(restored, undoText_).suffix;
    ownChange_ = true;
    setText(restored);  // also empties the line edit's own history
    ownChange_ = false;
    historyCharacters_ = 0;
    setCursorPosition(static_cast<int>(restored.size() - suffix));
    setModified(true);
    emit textEdited(restored);
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo)) {
        Undo();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        // One level: undoing again is the redo.
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TEdit::contextMenuEvent(QContextMenuEvent* event) {
    // The line edit's menu, with the undo of this field and no redo.
    const bool editable = !isReadOnly();
    const bool plain = echoMode() == QLineEdit::Normal;
    const bool selected = hasSelectedText();
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(Entry("&Undo", QKeySequence::Undo), this, &TEdit::Undo)->setEnabled(CanUndo());
    menu->addSeparator();
    menu->addAction(Entry("Cu&t", QKeySequence::Cut), this, &QLineEdit::cut)
        ->setEnabled(editable && plain && selected);
    menu->addAction(Entry("&Copy", QKeySequence::Copy), this, &QLineEdit::copy)
        ->setEnabled(plain && selected);
    const QClipboard* clipboard = QGuiApplication::clipboard();
    menu->addAction(Entry("&Paste", QKeySequence::Paste), this, &QLineEdit::paste)
        ->setEnabled(editable && clipboard && !clipboard->text().isEmpty());
    menu->addAction(QLineEdit::tr("Delete"), this, &QLineEdit::del)
        ->setEnabled(editable && selected);
    menu->addSeparator();
    menu->addAction(Entry("Select All", QKeySequence::SelectAll), this, &QLineEdit::selectAll)
        ->setEnabled(!text().isEmpty() && selectedText() != text());
    menu->exec(event->globalPos());
    event->accept();
}

}  // namespace vesk
