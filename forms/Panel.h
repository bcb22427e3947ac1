#pragma once
// A panel: a plain area with an outer and an inner bevel and an optional
// caption centred in it. The bevels are drawn inside the panel's rectangle,
// outer first; the border width is the gap between them.

#include <QString>
#include <QWidget>

namespace vesk {

class TPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Lowered, Raised };

    TPanel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth = 1, int borderWidth = 0);

    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bevel outer_;
    Bevel inner_;
    int bevelWidth_;
    int borderWidth_;
    QString caption_;
};

}  // namespace vesk
