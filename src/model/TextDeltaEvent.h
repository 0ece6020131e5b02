#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// The commonest event of a streamed answer, a piece of a text block,
// {"type":"content_block_delta","index":N,"delta":{"type":"text_delta","text":"…"}}, read
// straight from its JSON text without building a document. Keys may come in any order, with
// any JSON whitespace between tokens. Anything else (another or a repeated key, an index that
// is not a plain non-negative integer, an escaped surrogate, invalid text) is not taken and
// is left to the full JSON parser, which gives the same result or the same error.
struct TextDeltaEvent {
    int index = 0;
    QString text;

    // The event held by `json`, or none when it is not one this reader takes.
    static std::optional<TextDeltaEvent> scan(QByteArrayView json);
};
