#pragma once

#include <QUrl>

namespace ServiceUrl {

// The base URL with a relative path appended as further path segments, keeping the base's
// own path ("http://host/relay" + "api/me" -> "http://host/relay/api/me").
QUrl appending(const QUrl& base, const QString& path);

} // namespace ServiceUrl
