#pragma once
// Formula evaluation (price formulas) on muParser: the usual operators,
// parentheses and functions such as min, max, abs, sqrt; numbers always with
// "." as the decimal separator, whatever the locale.

#include "Error.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace tarvex {

// A formula that cannot be computed: bad syntax, an unknown name, a wrong
// number of arguments or a result that is not a finite number. The text
// names the formula; the detail holds the evaluator's own words, when any.
class CalcExpressError : public TarvexError {
public:
    explicit CalcExpressError(const QString& userText, const QString& detail = QString());
};

class TCalcExpress {
public:
    TCalcExpress();
    ~TCalcExpress();
    TCalcExpress(const TCalcExpress&) = delete;
    TCalcExpress& operator=(const TCalcExpress&) = delete;

    // Takes the formula and the names its arguments go by, and checks the
    // formula's syntax. Throws CalcExpressError.
    void init(const QString& formula, const QStringList& argumentNames = {});

    // The formula's value for these argument values, given in the order of
    // the names passed to init. Throws CalcExpressError.
    double calc(const QList<double>& argumentValues = {});

    // A price formula begins with an operator ("*1.2+5") and continues the
    // argument's text: the result is the number's text (".", shortest form),
    // one blank, then the formula as it stands. The formula is not
    // parenthesised, so the usual precedence holds across the join:
    // 100 with "+5*2" is 110.
    static QString JoinArgument(double argument, const QString& formula);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tarvex
