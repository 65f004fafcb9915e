#include "reports/ExportFile.h"

#include "platform/Locale.h"
#include "platform/OutputFile.h"

namespace tempolatch {

namespace {

// UTF-8 is written without an encoder: the common case, and the fastest.
bool isUtf8Name(const QByteArray& name) {
    const QByteArray n = name.toUpper();
    return n.isEmpty() || n == "UTF-8" || n == "UTF8";
}

}  // namespace

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
    auto file = std::make_unique<platform::OutputFile>(path);
    if (!file->open()) {
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
    if (ok) {
        ok = m_file->commit();
        if (!ok)
            m_error = m_file->errorString();
    }
    m_file.reset();  // an uncommitted file leaves the target as it was
    return ok;
}

void ExportFile::abandon() {
    m_file.reset();
}

}  // namespace tempolatch
