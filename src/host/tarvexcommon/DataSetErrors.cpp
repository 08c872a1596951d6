#include "DataSetErrors.h"

namespace tarvex {

DataSetError::DataSetError(const QString& userText) : TarvexError(ErrorKind::Validation, userText) {}

DataSetError::DataSetError(ErrorKind kind, const QString& userText, const QString& detail)
    : TarvexError(kind, userText, detail)
{
}

FieldError::FieldError(const QString& userText, Field* field)
    : TarvexError(ErrorKind::Validation, userText), m_field(field)
{
}

SilentAbort::SilentAbort() : TarvexError(ErrorKind::Abort, QString()) {}

void Abort()
{
    throw SilentAbort();
}

} // namespace tarvex
