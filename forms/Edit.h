#pragma once
// A single-line edit field as a classic dialog has it: a text the program
// writes is shown from its first character, and the user's changes keep one
// level of undo (the last change only; undoing again restores it), so that the
// memory an edit field holds follows its text, not the history of its edits.

#include <QLineEdit>

namespace vesk {

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    TEdit(const QString& text, QWidget* parent);

    // The program's write: replaces the whole text, puts the cursor on the
    // first character (so the start of a long text shows) and empties the undo.
    void SetText(const QString& text);

    // True when there is a change to take back.
    bool CanUndo() const { return canUndo_ && !isReadOnly(); }
    // Takes back the last change of the user's; a second Undo restores it.
    // Nothing on a read-only field or when there is nothing to undo.
    void Undo();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void TextChanged(const QString& text);
    // Empties the line edit's own undo history (this field keeps its own
    // undo), keeping text, cursor, selection and the modified flag.
    void DropHistory();

    QString shownText_;   // the text as of the last change
    QString undoText_;    // the text before the last change
    bool canUndo_ = false;
    int typingEnd_ = -1;  // after a run of typed characters: the cursor at its end
    bool programWrite_ = false;
    bool ownChange_ = false;
    bool dropPending_ = false;
    qsizetype historyCharacters_ = 0;  // changed since the history was last dropped
};

}  // namespace vesk
