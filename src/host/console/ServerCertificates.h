#pragma once
// A certificate authority and a server certificate of our own, made with
// openssl for a server that takes TCP links (a test server, a small shop's
// server without a CA of its own). The CA's certificate is what every
// workstation names in SslCa; its key stays in the folder, owner only.

#include <QString>

namespace tarvex {

class ServerCertificates {
public:
    // Keeps the files in `dir` (made when missing).
    explicit ServerCertificates(const QString& dir);

    // Makes the CA and a server certificate for `hostNames` (DNS names or IP
    // addresses) unless they exist. Throws ServerError.
    void ensure(const QStringList& hostNames);

    QString caFile() const { return m_dir + QStringLiteral("/ca.pem"); }
    QString certFile() const { return m_dir + QStringLiteral("/server.pem"); }
    QString keyFile() const { return m_dir + QStringLiteral("/server.key"); }
    QString dir() const { return m_dir; }

    // Makes a certificate signed by this CA for other names (a test's
    // server that claims to be another host). Throws ServerError.
    void issue(const QString& name, const QStringList& hostNames, const QString& certPath, const QString& keyPath);

private:
    void run(const QStringList& arguments) const;

    QString m_dir;
};

} // namespace tarvex
