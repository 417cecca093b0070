#ifndef KEYWORDTEMPLATECIPHER_H
#define KEYWORDTEMPLATECIPHER_H

#include <QByteArray>

// The sealed form of one checklist keyword: AES-256-GCM under the product's
// fixed key, no additional data, laid out as
//
//     bytes 0..11   initialisation vector (nonce)
//     bytes 12..27  authentication tag
//     bytes 28..    ciphertext, as long as the plaintext (may be empty)
//
// The checklist store opens these values; the import tool seals them.
class KeywordTemplateCipher
{
public:
    static constexpr int IvSize = 12;
    static constexpr int TagSize = 16;
    static constexpr int HeaderSize = IvSize + TagSize;
    static constexpr int KeySize = 32;

    // The 256-bit key: these 32 ASCII characters used as raw bytes.
    static QByteArray key();

    enum class OpenResult {
        Ok,
        TooShort,      // the value cannot hold an IV and a tag
        NoContext,     // OpenSSL could not create a cipher context
        Failed,        // a cipher step failed or the tag did not authenticate
    };

    // Decrypts and authenticates a sealed value. On anything but Ok,
    // `plaintext` is left empty.
    static OpenResult open(const QByteArray &sealed, QByteArray *plaintext);

    // Seals `plaintext` under a fresh random IV. Returns an empty array when
    // OpenSSL fails (no randomness, no context).
    static QByteArray seal(const QByteArray &plaintext);
    // Seals under the given 12-byte IV; for callers that supply their own.
    static QByteArray seal(const QByteArray &plaintext, const QByteArray &iv);
};

#endif // KEYWORDTEMPLATECIPHER_H
