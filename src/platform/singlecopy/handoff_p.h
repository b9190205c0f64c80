#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <chrono>
#include <memory>

// What both ends of the hand-off share whatever carries the bytes: a local
// socket in Linux's abstract namespace, or on Windows a named pipe that admits
// this user only. Each end checks with the system that the other runs as this
// user.

// A start has this long from connecting to its confirmation; one that sends
// nothing, or a byte at a time, is cut off then. Nothing waits for it
// meanwhile: the windows go on as before.
constexpr std::chrono::seconds SenderPatience{5};
// Connections served at once; more are turned away until one ends.
constexpr int MostConnections = 8;

extern const QByteArray HandoffReady;
extern const QByteArray HandoffTaken;

// The running copy's side of one connection: what to do with the bytes that
// came so far.
class HandoffExchange {
public:
  enum class Step { Wait, AnswerReady, Take, CutOff };

  // The most bytes worth reading next.
  qsizetype room() const;
  Step received(const QByteArray &bytes);
  // The path asked for, once the request is complete.
  const QString &path() const { return m_path; }

private:
  QByteArray m_received;
  QString m_path;
  bool m_ready = false;
};

// The start's end of a connection to a running copy.
class HandoffConnection {
public:
  // Connected to the copy listening under the name if that copy runs as this
  // user; nothing otherwise.
  static std::unique_ptr<HandoffConnection> open(const QString &name,
                                                 const QDeadlineTimer &patience);
  ~HandoffConnection();

  // Whether all the bytes went, within patience.
  bool write(const QByteArray &bytes, const QDeadlineTimer &patience);
  // What arrives first, at most size bytes; nothing once patience runs out or
  // the copy closed the connection.
  QByteArray read(qsizetype size, const QDeadlineTimer &patience);

private:
  struct Channel;
  explicit HandoffConnection(std::unique_ptr<Channel> channel);
  std::unique_ptr<Channel> m_channel;
};
