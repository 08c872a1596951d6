#include "DataSetErrors.h"

namespace tarvex {

DataSetError::DataSetError(const QString& message) : std::runtime_error(message.toStdString())
{
}

FieldError::FieldError(const QString& message, Field* field)
    : std::runtime_error(message.toStdString()), m_field(field)
{
}

void Abort()
{
    throw SilentAbort();
}

} // namespace tarvex
