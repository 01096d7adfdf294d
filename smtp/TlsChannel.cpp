// TTlsChannel: handshake, certificate check, records in and out.
#include "smtp/TlsChannel.h"

#include "ui/LateBound.h"
#include "ui/WideText.h"

#include <wincrypt.h>
#include <winsock.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Schannel (secur32) and the certificate checks (crypt32) load at the first
// secured connection.
template <typename Function>
using Late = const TLateBound<Function>;
Late<decltype(&FreeContextBuffer)> freeContextBuffer("secur32.dll", "FreeContextBuffer");
Late<decltype(&AcquireCredentialsHandleA)> acquireCredentialsHandle("secur32.dll", "AcquireCredentialsHandleA");
Late<decltype(&DeleteSecurityContext)> deleteSecurityContext("secur32.dll", "DeleteSecurityContext");
Late<decltype(&FreeCredentialsHandle)> freeCredentialsHandle("secur32.dll", "FreeCredentialsHandle");
Late<decltype(&InitializeSecurityContextA)> initializeSecurityContext("secur32.dll", "InitializeSecurityContextA");
Late<decltype(&QueryContextAttributesA)> queryContextAttributes("secur32.dll", "QueryContextAttributesA");
Late<decltype(&EncryptMessage)> encryptMessage("secur32.dll", "EncryptMessage");
Late<decltype(&DecryptMessage)> decryptMessage("secur32.dll", "DecryptMessage");
Late<decltype(&CertFreeCertificateContext)> certFreeCertificateContext("crypt32.dll", "CertFreeCertificateContext");
Late<decltype(&CertFreeCertificateChain)> certFreeCertificateChain("crypt32.dll", "CertFreeCertificateChain");
Late<decltype(&CertGetCertificateChain)> certGetCertificateChain("crypt32.dll", "CertGetCertificateChain");
Late<decltype(&CertVerifyCertificateChainPolicy)> certVerifyCertificateChainPolicy("crypt32.dll",
                                                                                   "CertVerifyCertificateChainPolicy");

const char* const HandshakeFailed = "TLS handshake failed";
const char* const RecordFailed = "TLS record could not be read";
const char* const NotChecked = "The server's certificate could not be checked";
const char* const NotTrusted = "The server's certificate is not trusted";

std::string WithStatus(const char* text, long status)
{
    char code[16];
    std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(status));
    return std::string(text) + " (0x" + code + ")";
}

struct TContextBuffer {
    void* data = nullptr;
    ~TContextBuffer()
    {
        if (data)
            freeContextBuffer(data);
    }
};

struct TCertificateOwner {
    void operator()(const CERT_CONTEXT* certificate) const { certFreeCertificateContext(certificate); }
};
struct TChainOwner {
    void operator()(const CERT_CHAIN_CONTEXT* chain) const { certFreeCertificateChain(chain); }
};

// Chain states that say nothing against the certificate: revocation is not asked for.
const DWORD IgnoredChainErrors =
    CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION | CERT_TRUST_IS_NOT_TIME_NESTED;

// Bytes left over at the end of the input: the part the call did not use.
size_t ExtraBytes(const SecBuffer& buffer) { return buffer.BufferType == SECBUFFER_EXTRA ? buffer.cbBuffer : 0; }

} // namespace

TTlsChannel::TTlsChannel(const std::string& serverName) : serverName_(serverName)
{
    SCHANNEL_CRED settings{};
    settings.dwVersion = SCHANNEL_CRED_VERSION;
    settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    // The certificate is checked by VerifyServer, against the server name as the user wrote it.
    settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;
    TimeStamp expiry;
    const SECURITY_STATUS status =
        acquireCredentialsHandle(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr, &settings,
                                  nullptr, nullptr, &credentials_, &expiry);
    if (status != SEC_E_OK)
        throw ETlsError(tfHandshake, WithStatus(HandshakeFailed, status));
}

TTlsChannel::~TTlsChannel()
{
    if (hasContext_)
        deleteSecurityContext(&context_);
    freeCredentialsHandle(&credentials_);
}

std::string TTlsChannel::Handshake(std::string& input)
{
    const ULONG wanted = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                         ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_MANUAL_CRED_VALIDATION;
    // The name goes to the server so that it can choose its certificate; an
    // address is not a name and is not sent.
    char* indicatedName = inet_addr(serverName_.c_str()) == INADDR_NONE ? &serverName_[0] : nullptr;
    for (int attempt = 0;; ++attempt) {
        SecBuffer in[2] = {{static_cast<ULONG>(input.size()), SECBUFFER_TOKEN, &input[0]},
                           {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
        SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
        ULONG granted = 0;
        const SECURITY_STATUS status = initializeSecurityContext(
            &credentials_, hasContext_ ? &context_ : nullptr, indicatedName, wanted, 0, 0,
            hasContext_ ? &inDesc : nullptr, 0, &context_, &outDesc, &granted, nullptr);
        TContextBuffer token{out[0].pvBuffer};
        if (status == SEC_E_INCOMPLETE_MESSAGE)
            return std::string();  // the rest of the server's message is still to come
        if (!hasContext_ && (status == SEC_I_CONTINUE_NEEDED || status == SEC_E_OK))
            hasContext_ = true;
        if (status == SEC_I_INCOMPLETE_CREDENTIALS && attempt == 0)
            continue;  // the server asked for a client certificate: go on without one
        if (status != SEC_I_CONTINUE_NEEDED && status != SEC_E_OK)
            throw ETlsError(tfHandshake, WithStatus(HandshakeFailed, status));
        input.erase(0, input.size() - ExtraBytes(in[1]));
        if (status == SEC_E_OK) {
            done_ = true;
            const SECURITY_STATUS sizes = queryContextAttributes(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_);
            if (sizes != SEC_E_OK || sizes_.cbMaximumMessage == 0)
                throw ETlsError(tfHandshake, WithStatus(HandshakeFailed, sizes));
        }
        if (out[0].pvBuffer && out[0].cbBuffer > 0)
            return std::string(static_cast<const char*>(out[0].pvBuffer), out[0].cbBuffer);
        return std::string();
    }
}

void TTlsChannel::VerifyServer() const
{
    const CERT_CONTEXT* received = nullptr;
    CtxtHandle context = context_;
    if (queryContextAttributes(&context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &received) != SEC_E_OK || !received)
        throw ETlsError(tfUntrusted, "The server sent no certificate");
    std::unique_ptr<const CERT_CONTEXT, TCertificateOwner> certificate(received);

    char* usages[] = {const_cast<char*>(szOID_PKIX_KP_SERVER_AUTH), const_cast<char*>(szOID_SERVER_GATED_CRYPTO),
                      const_cast<char*>(szOID_SGC_NETSCAPE)};
    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 3;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    const CERT_CHAIN_CONTEXT* built = nullptr;
    if (!certGetCertificateChain(nullptr, certificate.get(), nullptr, certificate->hCertStore, &chainPara, 0, nullptr,
                                 &built))
        throw ETlsError(tfUntrusted, NotChecked);
    std::unique_ptr<const CERT_CHAIN_CONTEXT, TChainOwner> chain(built);

    std::wstring name = ToWide(serverName_);
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = &name[0];
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS result{};
    result.cbSize = sizeof result;
    if (!certVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policy, &result))
        throw ETlsError(tfUntrusted, NotChecked);
    // The chain's own verdict counts as well: Wine's policy check lets a chain
    // pass that ends below any authority it knows.
    const DWORD chainErrors = chain->TrustStatus.dwErrorStatus & ~IgnoredChainErrors;
    if (chainErrors != 0)
        throw ETlsError(tfUntrusted, WithStatus(NotTrusted, static_cast<long>(chainErrors)));
    if (result.dwError == static_cast<DWORD>(CERT_E_CN_NO_MATCH))
        throw ETlsError(tfWrongHost, "The server's certificate is made out to another host name");
    if (result.dwError != 0)
        throw ETlsError(tfUntrusted, WithStatus(NotTrusted, static_cast<long>(result.dwError)));
}

std::string TTlsChannel::Encrypt(const char* data, size_t count)
{
    const size_t header = sizes_.cbHeader, trailer = sizes_.cbTrailer;
    std::string record(header + count + trailer, '\0');
    std::memcpy(&record[header], data, count);
    SecBuffer buffers[4] = {{static_cast<ULONG>(header), SECBUFFER_STREAM_HEADER, &record[0]},
                            {static_cast<ULONG>(count), SECBUFFER_DATA, &record[header]},
                            {static_cast<ULONG>(trailer), SECBUFFER_STREAM_TRAILER, &record[header + count]},
                            {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = encryptMessage(&context_, 0, &desc, 0);
    if (status != SEC_E_OK)
        throw ETlsError(tfHandshake, WithStatus("TLS record could not be made", status));
    record.resize(buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
    return record;
}

void TTlsChannel::Decrypt(std::string& input, std::string& plain)
{
    while (!input.empty() && !closed_) {
        SecBuffer buffers[4] = {{static_cast<ULONG>(input.size()), SECBUFFER_DATA, &input[0]},
                                {0, SECBUFFER_EMPTY, nullptr},
                                {0, SECBUFFER_EMPTY, nullptr},
                                {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
        const SECURITY_STATUS status = decryptMessage(&context_, &desc, 0, nullptr);
        if (status == SEC_E_INCOMPLETE_MESSAGE)
            return;
        if (status == SEC_I_CONTEXT_EXPIRED) {
            closed_ = true;
            input.clear();
            return;
        }
        // A renegotiation is not taken part in: the session ends.
        if (status != SEC_E_OK)
            throw ETlsError(tfHandshake, WithStatus(RecordFailed, status));
        // The bytes are decrypted in place, inside `input`.
        size_t extra = 0;
        for (const SecBuffer& buffer : buffers) {
            if (buffer.BufferType == SECBUFFER_DATA && buffer.pvBuffer)
                plain.append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
            extra += ExtraBytes(buffer);
        }
        input.erase(0, input.size() - extra);
    }
}
