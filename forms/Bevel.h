#pragma once
// A bevel: a frame drawn over its parent, taking no input.

#include <QWidget>

namespace vesk {

class TBevel : public QWidget {
    Q_OBJECT
public:
    enum class Shape {
        LoweredBox,    // one shadow line top and left, one highlight line bottom and right
        LoweredFrame,  // a double-line groove
        RightLine,     // a single groove line along the right edge
    };

    TBevel(QWidget* parent, Shape shape);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shape shape_;
};

}  // namespace vesk
