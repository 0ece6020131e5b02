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

bool isLoopbackHost(const std::string& host)
{
    std::string name = host;
    if (!name.empty() && name.front() == '[') {
        name = name.substr(0, name.find(']') == std::string::npos ? 0 : name.find(']') + 1);
    } else if (auto colon = name.find(':'); colon != std::string::npos) {
        std::string port = name.substr(colon + 1);
        if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos)
            return false;
        name.resize(colon);
    }
    if (name.size() > 1 && name.back() == '.')
        name.pop_back();
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name == "127.0.0.1" || name == "localhost" || name == "[::1]";
}

bool isLoopbackPeer(const std::string& address)
{
    return address.rfind("127.", 0) == 0 || address == "::1" || address.rfind("::ffff:127.", 0) == 0;
}

std::string lastForwardedAddress(const std::string& header)
{
    auto comma = header.rfind(',');
    std::string last = comma == std::string::npos ? header : header.substr(comma + 1);
    auto first = last.find_first_not_of(" \t");
    auto end = last.find_last_not_of(" \t");
    if (first == std::string::npos)
        return {};
    last = last.substr(first, end - first + 1);
    if (last.size() > 64 || last.find_first_not_of("0123456789abcdefABCDEF.:[]") != std::string::npos)
        return {};
    return last;
}

} // namespace AuthParsing
