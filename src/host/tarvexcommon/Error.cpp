#include "Error.h"

namespace tarvex {

TarvexError::TarvexError(ErrorKind kind, const QString& userText, const QString& detail)
    : m_kind(kind), m_userText(userText), m_detail(detail),
      m_what((detail.isEmpty() ? userText : detail).toStdString())
{
}

InternalError::InternalError(const QString& detail) : TarvexError(ErrorKind::Internal, ERR_INTERNAL_ERR, detail) {}

} // namespace tarvex
