#include "keywordtemplatecipher.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

namespace {

struct ContextFree
{
    void operator()(EVP_CIPHER_CTX *ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using Context = std::unique_ptr<EVP_CIPHER_CTX, ContextFree>;

const unsigned char *bytes(const QByteArray &a)
{
    return reinterpret_cast<const unsigned char *>(a.constData());
}

unsigned char *bytes(QByteArray &a)
{
    return reinterpret_cast<unsigned char *>(a.data());
}

} // namespace

QByteArray KeywordTemplateCipher::key()
{
    return QByteArrayLiteral("5a1c0f9e7b3d2468ace13579bdf02468");
}

KeywordTemplateCipher::OpenResult KeywordTemplateCipher::open(const QByteArray &sealed, QByteArray *plaintext)
{
    plaintext->clear();
    if (sealed.size() < HeaderSize)
        return OpenResult::TooShort;

    Context ctx(EVP_CIPHER_CTX_new());
    if (!ctx)
        return OpenResult::NoContext;

    const QByteArray k = key();
    const QByteArray iv = sealed.left(IvSize);
    QByteArray tag = sealed.mid(IvSize, TagSize);
    const QByteArray cipherText = sealed.mid(HeaderSize);

    // One spare block keeps the buffer non-empty for an empty ciphertext.
    QByteArray out(cipherText.size() + 16, '\0');
    int updateLength = 0;
    int finalLength = 0;
    if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, bytes(k), bytes(iv)) != 1
        || EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, TagSize, bytes(tag)) != 1
        || EVP_DecryptUpdate(ctx.get(), bytes(out), &updateLength, bytes(cipherText), cipherText.size()) != 1
        || EVP_DecryptFinal_ex(ctx.get(), bytes(out) + updateLength, &finalLength) != 1) {
        return OpenResult::Failed;
    }
    out.truncate(updateLength + finalLength);
    *plaintext = out;
    return OpenResult::Ok;
}

QByteArray KeywordTemplateCipher::seal(const QByteArray &plaintext)
{
    QByteArray iv(IvSize, '\0');
    if (RAND_bytes(bytes(iv), IvSize) != 1)
        return {};
    return seal(plaintext, iv);
}

QByteArray KeywordTemplateCipher::seal(const QByteArray &plaintext, const QByteArray &iv)
{
    if (iv.size() != IvSize)
        return {};
    Context ctx(EVP_CIPHER_CTX_new());
    if (!ctx)
        return {};

    const QByteArray k = key();
    QByteArray cipherText(plaintext.size() + 16, '\0');
    QByteArray tag(TagSize, '\0');
    int updateLength = 0;
    int finalLength = 0;
    if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, bytes(k), bytes(iv)) != 1
        || EVP_EncryptUpdate(ctx.get(), bytes(cipherText), &updateLength, bytes(plaintext), plaintext.size()) != 1
        || EVP_EncryptFinal_ex(ctx.get(), bytes(cipherText) + updateLength, &finalLength) != 1
        || EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, TagSize, bytes(tag)) != 1) {
        return {};
    }
    cipherText.truncate(updateLength + finalLength);
    return iv + tag + cipherText;
}
