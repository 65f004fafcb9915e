#include "reports/ExportFile.h"

#include <langinfo.h>

#include <QFile>
#include <QSaveFile>
#include <cstdio>
#include "platform/Locale.h"

namespace tempolatch {

namespace {

bool isUtf8Name(const QByteArray& name) {
    const QByteArray n = name.toUpper();
    return n.isEmpty() || n == "UTF-8" || n == "UTF8" || n == "ANSI_X3.4-1968" || n == "ASCII" ||
           n == "US-ASCII";
}

}  // namespace

QByteArray ExportFile::localeCodeset() {
    const char* codeset = nl_langinfo(CODESET);
    const QByteArray name = codeset ? QByteArray(codeset) : QByteArray();
    return isUtf8Name(name) ? QByteArrayLiteral("UTF-8") : name;
}

ExportFile::ExportFile(const QByteArray& codeset) : m_utf8(isUtf8Name(codeset)) {
    if (!m_utf8) {
        m_encoder = QStringEncoder(codeset.constData());
        // A code page this Qt cannot convert to: UTF-8 rather than nothing.
        m_utf8 = !m_encoder.isValid();
    }
}

ExportFile::~ExportFile() {
    abandon();
}

bool ExportFile::open(const QString& path) {
    abandon();
    m_failed = false;
    m_error.clear();
    m_standardOutput = path == QLatin1String("-");
    if (m_standardOutput) {
        auto out = std::make_unique<QFile>();
        if (!out->open(stdout, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            m_error = out->errorString();
            return false;
        }
        m_file = std::move(out);
        return true;
    }
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly)) {
        m_error = file->errorString();
        return false;
    }
    m_file = std::move(file);
    return true;
}

bool ExportFile::isOpen() const {
    return m_file != nullptr;
}

QByteArray ExportFile::encoded(const QString& text) {
    if (m_utf8)
        return text.toUtf8();
    return platform::Locale::encodeMarkingLosses(m_encoder, text);
}

bool ExportFile::writeText(const QString& text) {
    return writeRaw(encoded(text));
}

bool ExportFile::writeRaw(const QByteArray& bytes) {
    m_lastWritten = 0;
    m_lastWriteOk = false;
    if (!m_file || m_failed)
        return false;
    m_lastWritten = m_file->write(bytes);
    m_lastWriteOk = m_lastWritten == bytes.size();
    if (!m_lastWriteOk) {
        m_failed = true;
        m_error = m_file->errorString();
    }
    return m_lastWriteOk;
}

bool ExportFile::close() {
    if (!m_file)
        return false;
    bool ok = !m_failed;
    if (m_standardOutput) {
        ok = m_file->flush() && ok;
        m_file->close();
    } else {
        auto* file = static_cast<QSaveFile*>(m_file.get());
        if (ok) {
            ok = file->commit();
            if (!ok)
                m_error = file->errorString();
        } else {
            file->cancelWriting();
            file->commit();  // cancelled: removes the temporary file, keeps the target
        }
    }
    m_file.reset();
    return ok;
}

void ExportFile::abandon() {
    if (!m_file)
        return;
    if (m_standardOutput)
        m_file->flush();
    // A QSaveFile that is not committed removes its temporary file.
    m_file.reset();
}

}  // namespace tempolatch
