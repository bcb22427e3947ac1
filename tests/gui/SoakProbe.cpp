// Drives the main dialog with random user actions, large pastes among them,
// and reports the resident memory after each thousand actions. Not a test:
// scripts/soak-gui runs it and compares the figures.
//
//   vesk310_soak_probe [ACTIONS [PASTE_CHARACTERS [SEED]]]
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/Application.h"
#include "forms/AbutV310.h"
#include "forms/MainV310.h"
#include "textconv/FloatEnvironment.h"

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Closes whatever modal box the next action opens (an error box, the about box).
void CloseTheNextBox() {
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
}

void Click(QWidget* widget) {
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(window, widget->rect().center()));
}

}  // namespace

int main(int argc, char** argv) {
    vesk::SetStartupFloatEnvironment();
    const long actions = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    const long pasteSize = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 30000;
    const unsigned seed =
        argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 310;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    vesk::TApplication application(argc, argv);

    vesk::PagesDlgOptions options;
    options.splashWait = [] {};
    vesk::TPagesDlg dialog(options);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the splash
    vesk::TAboutBox about;
    vesk::AboutBox = &about;
    dialog.show();
    dialog.activateWindow();
    (void)QTest::qWaitForWindowActive(&dialog);

    std::mt19937 random(seed);
    auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    const std::vector<std::pair<QWidget*, std::vector<QLineEdit*>>> pages = {
        {dialog.TabSheet1, {dialog.Ed1, dialog.Ed2, dialog.Ed3}},
        {dialog.TabSheet2,
         {dialog.Edit1, dialog.Edit2, dialog.Edit3, dialog.Edit4, dialog.Edit5, dialog.Edit6,
          dialog.Edit7, dialog.Edit8}},
        {dialog.TabSheet3,
         {dialog.Edit9, dialog.Edit10, dialog.Edit11, dialog.Edit12, dialog.Edit13}},
        {dialog.TabSheet4, {dialog.Edit14, dialog.Edit15, dialog.Edit16}},
    };
    const std::vector<QPushButton*> buttons = {dialog.Button1, dialog.Button2, dialog.Button3,
                                               dialog.Button6};
    const QString alphabet = QStringLiteral("0123456789.-e ");
    auto text = [&](long length) {
        QString result(length, u'0');
        for (QChar& c : result)
            c = alphabet[static_cast<qsizetype>(pick(static_cast<std::size_t>(alphabet.size())))];
        return result;
    };

    std::printf("actions  VmRSS (KiB)\n");
    long afterFirstThousand = 0;
    for (long done = 1; done <= actions; ++done) {
        const std::size_t page = pick(pages.size());
        dialog.PageControl1->setCurrentWidget(pages[page].first);
        QLineEdit* field = pages[page].second[pick(pages[page].second.size())];
        switch (pick(6)) {
            case 0:  // a large paste over the field's text
            case 1:
                QGuiApplication::clipboard()->setText(text(pasteSize));
                field->setFocus();
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
                break;
            case 2:  // a few typed characters, or undo
                field->setFocus();
                if (pick(2) == 0)
                    QTest::keyClicks(field, text(static_cast<long>(1 + pick(8))));
                else
                    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
                break;
            case 3:  // the page's button: a sentence, or the error box
                CloseTheNextBox();
                Click(buttons[page]);
                break;
            case 4:  // good input and the button again
                field->setFocus();
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(field, QString::number(1 + pick(12)));
                CloseTheNextBox();
                Click(buttons[page]);
                break;
            default:  // the about box
                CloseTheNextBox();
                Click(dialog.Button4);
                break;
        }
        QCoreApplication::processEvents();
        if (done % 1000 == 0 || done == actions) {
            const long rss = ResidentKiB();
            if (done == 1000) afterFirstThousand = rss;
            std::printf("%7ld  %ld\n", done, rss);
            std::fflush(stdout);
        }
    }
    if (afterFirstThousand > 0)
        std::printf("ratio of the last to the first thousand: %.2f\n",
                    static_cast<double>(ResidentKiB()) / static_cast<double>(afterFirstThousand));
    vesk::AboutBox = nullptr;
    return 0;
}
