#pragma once
// The about box: names the product. One lasting instance is shown modally from
// the main dialog; a short-lived one serves as the splash at start-up.

#include <QDialog>

class QLabel;
class QPushButton;

namespace vesk {

class TBevel;
class TImage;
class TPanel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The window has no owner: it belongs to the application, not to the dialog.
    TAboutBox();

    // Shows the box modally over its owner (the window active before, when
    // none is given) and returns when it is closed. The box is hidden, not
    // destroyed, and keeps its position for the next showing.
    void ShowModal(QWidget* owner = nullptr);

    // The controls, in creation order.
    TBevel* Bevel2;
    TPanel* Panel1;
    TImage* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* NoticeLabel;
    TBevel* Bevel1;
    QLabel* Label1;
    QPushButton* OKButton;

    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool placed_ = false;
};

// The about box that the main dialog shows: the splash during start-up, the
// lasting box afterwards. Set by start-up; none before.
extern TAboutBox* AboutBox;

}  // namespace vesk
