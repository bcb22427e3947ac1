#include "forms/Edit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>
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
    setCursorPosition(0);
}

void TEdit::TextChanged(const QString& text) {
    if (ownChange_) return;
    if (programWrite_) {
        // setText has emptied the line edit's own history; the undo goes too.
        shownText_ = text;
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
    shownText_ = text;
    // The line edit has recorded the change in its own history, one entry a
    // character; drop it once this event is done with the field.
    if (!dropPending_) {
        dropPending_ = true;
        QMetaObject::invokeMethod(this, &TEdit::DropHistory, Qt::QueuedConnection);
    }
}

void TEdit::DropHistory() {
    dropPending_ = false;
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
    qsizetype prefix = 0;
    while (prefix < restored.size() && prefix < undoText_.size() && restored[prefix] == undoText_[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < restored.size() - prefix && suffix < undoText_.size() - prefix &&
           restored[restored.size() - 1 - suffix] == undoText_[undoText_.size() - 1 - suffix])
        ++suffix;
    ownChange_ = true;
    setText(restored);
    ownChange_ = false;
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
    menu->addAction(Entry("&Copy", QKeySequence::Copy), this, &QLineEdit::copy)->setEnabled(plain && selected);
    const QClipboard* clipboard = QGuiApplication::clipboard();
    menu->addAction(Entry("&Paste", QKeySequence::Paste), this, &QLineEdit::paste)
        ->setEnabled(editable && clipboard && !clipboard->text().isEmpty());
    menu->addAction(QLineEdit::tr("Delete"), this, &QLineEdit::del)->setEnabled(editable && selected);
    menu->addSeparator();
    menu->addAction(Entry("Select All", QKeySequence::SelectAll), this, &QLineEdit::selectAll)
        ->setEnabled(!text().isEmpty() && selectedText() != text());
    menu->exec(event->globalPos());
    event->accept();
}

}  // namespace vesk
