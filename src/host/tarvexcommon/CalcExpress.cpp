#include "CalcExpress.h"

#include "SqlText.h"

#include <muParser.h>

#include <cmath>
#include <vector>

namespace tarvex {

CalcExpressError::CalcExpressError(const QString& userText, const QString& detail)
    : TarvexError(ErrorKind::Validation, userText, detail)
{
}

struct TCalcExpress::Impl {
    mu::Parser parser;
    QString formula;
    QStringList names;
    // muParser reads variables through pointers: the storage must stay put
    // once the names are defined, so it is sized once in init.
    std::vector<double> values;
    bool ready = false;
};

namespace {

[[noreturn]] void raise(const QString& formula, const mu::Parser::exception_type& error)
{
    throw CalcExpressError(QStringLiteral("Greška u formuli \"%1\".").arg(formula),
                           QString::fromStdString(error.GetMsg()));
}

} // namespace

TCalcExpress::TCalcExpress() : m_impl(std::make_unique<Impl>()) {}

TCalcExpress::~TCalcExpress() = default;

void TCalcExpress::init(const QString& formula, const QStringList& argumentNames)
{
    Impl& d = *m_impl;
    d.ready = false;
    d.formula = formula;
    d.names = argumentNames;
    d.values.assign(static_cast<std::size_t>(argumentNames.size()), 0.0);
    if (formula.trimmed().isEmpty())
        throw CalcExpressError(QStringLiteral("Formula je prazna."));
    try {
        d.parser.ClearVar();
        for (int i = 0; i < argumentNames.size(); ++i)
            d.parser.DefineVar(argumentNames[i].toStdString(), &d.values[static_cast<std::size_t>(i)]);
        d.parser.SetExpr(formula.toStdString());
        // Evaluating once parses the text, so syntax errors surface here.
        d.parser.Eval();
        // muParser takes "a, b" as two results and returns the last: a comma
        // typed as a decimal separator ("*1,2") would silently give 2.
        if (d.parser.GetNumResults() != 1)
            throw CalcExpressError(QStringLiteral("Greška u formuli \"%1\": formula daje više vrednosti "
                                                  "(decimale se pišu tačkom).")
                                       .arg(formula));
    } catch (const mu::Parser::exception_type& error) {
        raise(formula, error);
    }
    d.ready = true;
}

double TCalcExpress::calc(const QList<double>& argumentValues)
{
    Impl& d = *m_impl;
    if (!d.ready)
        throw CalcExpressError(QStringLiteral("Formula nije zadata."));
    if (argumentValues.size() != d.names.size())
        throw CalcExpressError(QStringLiteral("Formula \"%1\" očekuje %2 argumenata, dato je %3.")
                                   .arg(d.formula)
                                   .arg(d.names.size())
                                   .arg(argumentValues.size()));
    for (int i = 0; i < argumentValues.size(); ++i)
        d.values[static_cast<std::size_t>(i)] = argumentValues[i];
    double result = 0.0;
    try {
        result = d.parser.Eval();
    } catch (const mu::Parser::exception_type& error) {
        raise(d.formula, error);
    }
    if (!std::isfinite(result))
        throw CalcExpressError(QStringLiteral("Formula \"%1\" nema konačnu vrednost.").arg(d.formula));
    return result;
}

QString TCalcExpress::JoinArgument(double argument, const QString& formula)
{
    return SqlNumber(argument) + QLatin1Char(' ') + formula;
}

} // namespace tarvex
