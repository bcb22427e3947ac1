#include "forms/Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QTabBar>

#include "forms/Image.h"
#include "forms/MainV310.h"
#include "forms/PageControl.h"

namespace vesk {
namespace {

// The property that marks a control left out of the accessible tree.
constexpr char kHidden[] = "vesk310HiddenFromScreenReaders";

bool Hidden(const QWidget* widget) { return widget->property(kHidden).toBool(); }

class ImageAccessible : public QAccessibleWidget {
public:
    explicit ImageAccessible(TImage* image) : QAccessibleWidget(image, QAccessible::Graphic) {}

    TImage* Image() const { return static_cast<TImage*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Image()->accessibleName().isEmpty()) return Image()->Hint();
        return QAccessibleWidget::text(t);
    }

    // A press only where a click does something.
    QStringList actionNames() const override {
        return Image()->Clickable() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& action) override {
        // Posted: the click opens a modal box, and the assistive technology
        // waits for this call to return.
        if (action == pressAction() && Image()->Clickable())
            QMetaObject::invokeMethod(widget(), "clicked", Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// The main dialog: a window of its own, named by its caption, read as a
// dialog. While a modal box blocks it, it takes no input, and says so.
class DialogAccessible : public QAccessibleWidget {
public:
    explicit DialogAccessible(TPagesDlg* dialog) : QAccessibleWidget(dialog, QAccessible::Dialog) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (static_cast<TPagesDlg*>(widget())->Blocked()) state.disabled = true;
        return state;
    }
};

// A container whose children are its child controls less the hidden ones.
class ContainerAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return static_cast<int>(Shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = Shown();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(Shown().indexOf(qobject_cast<QWidget*>(child->object())))
                     : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        // The last child is drawn on top.
        const QList<QWidget*> shown = Shown();
        for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(*it);
            if (face && !face->state().invisible && face->rect().contains(x, y)) return face;
        }
        return nullptr;
    }

private:
    QList<QWidget*> Shown() const {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !Hidden(child)) shown.push_back(child);
        }
        return shown;
    }
};

// One tab of the page control's tab row.
class PageTab : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PageTab(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    int Index() const { return index_; }

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(bar_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return QString(bar_->tabText(index_)).remove(u'&');
        if (t == QAccessible::Description) return bar_->tabToolTip(index_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid() || !bar_->isVisible()) return {};
        const QRect tab = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(tab.topLeft()), tab.size());
    }

    QAccessible::Role role() const override { return QAccessible::PageTab; }

    // The shown page's tab is selected; a tab is focused only while the tab
    // row has the focus.
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) return state;
        const bool current = bar_->currentIndex() == index_;
        state.selectable = true;
        state.selected = current;
        state.focusable = bar_->focusPolicy() != Qt::NoFocus;
        state.focused = current && bar_->hasFocus();
        state.disabled = !bar_->isEnabled() || !bar_->isTabEnabled(index_);
        state.invisible = !bar_->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && isValid()) bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

// The page control's tab row: a list of its tabs, named by the shown one.
class PageTabRow : public QAccessibleWidget {
public:
    explicit PageTabRow(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}

    ~PageTabRow() override {
        for (QAccessible::Id id : std::as_const(tabs_)) QAccessible::deleteAccessibleInterface(id);
    }

    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return QString(Bar()->tabText(Bar()->currentIndex())).remove(u'&');
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return Bar()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= Bar()->count()) return nullptr;
        if (const auto found = tabs_.constFind(index); found != tabs_.cend())
            return QAccessible::accessibleInterface(*found);
        auto* tab = new PageTab(Bar(), index);
        tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* tab = dynamic_cast<const PageTab*>(child);
        return tab && tab->parent() == this ? tab->Index() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index < 0 ? nullptr : child(index);
    }
    QAccessibleInterface* focusChild() const override {
        return Bar()->hasFocus() ? child(Bar()->currentIndex()) : nullptr;
    }

private:
    mutable QHash<int, QAccessible::Id> tabs_;  // by the tab's index
};

bool HasHiddenChild(const QObject* object) {
    for (const QObject* child : object->children())
        if (child->isWidgetType() && Hidden(static_cast<const QWidget*>(child))) return true;
    return false;
}

QAccessibleInterface* FormsFactory(const QString&, QObject* object) {
    if (auto* image = qobject_cast<TImage*>(object)) return new ImageAccessible(image);
    if (auto* dialog = qobject_cast<TPagesDlg*>(object)) return new DialogAccessible(dialog);
    if (auto* bar = qobject_cast<QTabBar*>(object);
        bar && qobject_cast<TPageControl*>(bar->parent()))
        return new PageTabRow(bar);
    if (object->isWidgetType() && HasHiddenChild(object))
        return new ContainerAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void InstallFormsAccessibility() { QAccessible::installFactory(&FormsFactory); }

void HideFromScreenReaders(QWidget* widget) { widget->setProperty(kHidden, true); }

}  // namespace vesk
