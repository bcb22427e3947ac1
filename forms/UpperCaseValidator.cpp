#include "forms/UpperCaseValidator.h"

namespace vesk {

QValidator::State UpperCaseValidator::validate(QString& input, int&) const {
    for (QChar& c : input) {
        const QChar upper = c.toUpper();
        // A capital that needs two code units (or none) would shift the text.
        if (!upper.isNull()) c = upper;
    }
    return Acceptable;
}

}  // namespace vesk
