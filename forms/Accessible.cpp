#include "forms/Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "forms/Image.h"
#include "forms/MainV310.h"

namespace vesk {
namespace {

class ImageAccessible : public QAccessibleWidget {
public:
    explicit ImageAccessible(TImage* image) : QAccessibleWidget(image, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override {
        auto* image = static_cast<TImage*>(widget());
        if (t == QAccessible::Name && image->accessibleName().isEmpty()) return image->Hint();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override {
        // Posted: the click opens a modal box, and the assistive technology
        // waits for this call to return.
        if (action == pressAction())
            QMetaObject::invokeMethod(widget(), "clicked", Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* FormsFactory(const QString&, QObject* object) {
    if (auto* image = qobject_cast<TImage*>(object)) return new ImageAccessible(image);
    // A window of its own: named by its caption, read as a dialog.
    if (auto* dialog = qobject_cast<TPagesDlg*>(object))
        return new QAccessibleWidget(dialog, QAccessible::Dialog);
    return nullptr;
}

}  // namespace

void InstallFormsAccessibility() { QAccessible::installFactory(&FormsFactory); }

}  // namespace vesk
