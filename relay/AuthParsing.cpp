#include "AuthParsing.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cctype>

namespace AuthParsing {

namespace {

bool isPrintableToken(const std::string& text, std::size_t maxSize)
{
    if (text.empty() || text.size() > maxSize)
        return false;
    for (unsigned char c : text) {
        if (c <= 0x20 || c >= 0x7f)
            return false;
    }
    return true;
}

} // namespace

std::optional<std::string> bearerToken(const std::string& header)
{
    static const std::string scheme = "bearer ";
    if (header.size() <= scheme.size())
        return std::nullopt;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(header[i])) != scheme[i])
            return std::nullopt;
    }
    std::string token = header.substr(scheme.size());
    while (!token.empty() && (token.back() == ' ' || token.back() == '\t'))
        token.pop_back();
    if (!isPrintableToken(token, 512))
        return std::nullopt;
    return token;
}

std::optional<ExchangeFields> exchangeFields(const std::string& body)
{
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromRawData(body.data(), qsizetype(body.size())));
    QJsonObject o = doc.object();
    if (!o.value("code").isString() || !o.value("state").isString())
        return std::nullopt;
    ExchangeFields fields{o.value("code").toString().toStdString(), o.value("state").toString().toStdString()};
    if (fields.code.empty() || fields.code.size() > 512 || fields.state.empty() || fields.state.size() > 512)
        return std::nullopt;
    return fields;
}

bool isValidEmail(const std::string& email)
{
    auto at = email.find('@');
    if (!isPrintableToken(email, 254) || at == std::string::npos || at == 0 || at + 1 == email.size())
        return false;
    return email.find('@', at + 1) == std::string::npos;
}

bool isValidState(const std::string& state)
{
    return isPrintableToken(state, 512);
}

} // namespace AuthParsing
