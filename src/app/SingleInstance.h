#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace tempolatch {

// One window per user and profile folder. The first start listens on a
// local socket named after both; a later start hands its command line to it
// and goes away. The running program comes to the front and offers to open
// a file of ours it is handed (a backup opened from a file manager).
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Start { First, HandedOver };

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket name for a profile folder and the current user.
    static QString serverName(const QString& profileFolder);

    // Hands the arguments to a program already running on the current
    // profile, or else becomes the one that later starts talk to. When the
    // socket cannot be set up the program still starts, just unguarded.
    Start start(const QStringList& args);

    bool isListening() const;

Q_SIGNALS:
    void activationRequested(const QStringList& args);

private:
    bool handOver(const QString& name, const QStringList& args);
    bool listen(const QString& name);
    void acceptConnection();

    QLocalServer* m_server = nullptr;
};

}  // namespace tempolatch
