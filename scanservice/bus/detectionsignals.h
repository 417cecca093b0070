// The detection signals of files with hits, built by the threads that have
// the findings and sent by the bus connection's own thread.
#ifndef DETECTIONSIGNALS_H
#define DETECTIONSIGNALS_H

#include <QByteArray>
#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

// A task finds hits in tens of thousands of small files, and each file
// with hits is announced by a signal of its own. Built the usual way (a
// QDBusMessage turned into a bus message when sent), each signal cost the
// service more than reading and matching its file: the bus library writes
// the message's signature into its header again for every argument added,
// and every signal crossed to the connection's thread by an event of its
// own. Here the signal's bytes are written straight in the bus's wire form
// (the header once per signal name, the arguments in one pass), handed to
// the bus library whole, and queued for the connection's thread, which
// sends all that waits each time it wakes. The connection's thread is the
// one the bus library calls back on, so sending there keeps its socket
// watches in the thread that owns them; and it is the thread that sends
// every other message of the service, in the order they are handed to it,
// so a detection readied before the task's end marker still goes out
// before it.
class DetectionSignals
{
public:
    // The signals of the object at objectPath, interface as the adaptor declares it.
    DetectionSignals(const QDBusConnection &connection, const QString &objectPath, const QString &interface);
    ~DetectionSignals();
    DetectionSignals(const DetectionSignals &) = delete;
    DetectionSignals &operator=(const DetectionSignals &) = delete;

    // Readies the signal of a file with hits (keyword tasks: pathlist,
    // filepath and counts; privacy tasks: pathlist and counts); calling
    // what it returns sends it, from any thread, once for each call. A
    // signal the bus could not carry (a text that is not valid for it, a
    // count of a type it has no form for here) is logged and not sent.
    std::function<void()> ready(const QString &pathlist, int tasktype, const QString &filepath,
                                const QVariantMap &counts) const;

    // The signal's message in the bus's wire form (little-endian, serial
    // given), or empty when a count has no form here: what ready() hands
    // to the bus library.
    static QByteArray wireMessage(const QString &objectPath, const QString &interface, const QString &member,
                                  const QStringList &texts, const QVariantMap &counts, quint32 serial);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};

#endif // DETECTIONSIGNALS_H
