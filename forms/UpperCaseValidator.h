#pragma once
// Turns letters typed into an edit field into capitals, one for one, so that
// the text keeps its length and the cursor its place.

#include <QValidator>

namespace vesk {

class UpperCaseValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

}  // namespace vesk
