#include "platform/singlecopy/handoff.h"

#include "platform/singlecopy/handoff_p.h"

#include <QDataStream>
#include <QDir>

namespace {

// How long a start waits for the running copy to take its file.
constexpr std::chrono::seconds AnswerPatience{5};

const QByteArray Confirmed = QByteArrayLiteral("take\n");

constexpr QDataStream::Version Format = QDataStream::Qt_6_0;

QByteArray requestFor(const QString &path)
{
  QByteArray request;
  QDataStream stream(&request, QIODevice::WriteOnly);
  stream.setVersion(Format);
  stream << path;
  return request;
}

enum class Request { Incomplete, Refused, Complete };

// What the bytes received so far make of a request: a length in bytes, then
// the path in UTF-16, naming an absolute path.
Request readRequest(const QByteArray &received, QString &path)
{
  constexpr qsizetype LengthBytes = 4;
  if (received.size() < LengthBytes)
    return Request::Incomplete;
  QDataStream stream(received);
  stream.setVersion(Format);
  quint32 length = 0;
  stream >> length;
  if (length % 2 != 0 || length > quint32(FileHandoff::LongestMessage - LengthBytes))
    return Request::Refused; // a null string's length, 0xFFFFFFFF, among them
  if (received.size() < LengthBytes + qsizetype(length))
    return Request::Incomplete;
  if (received.size() > LengthBytes + qsizetype(length))
    return Request::Refused; // nothing follows a request before it is answered
  QDataStream whole(received);
  whole.setVersion(Format);
  whole >> path;
  if (path.isEmpty() || path.contains(QChar::Null) || !QDir::isAbsolutePath(path))
    return Request::Refused;
  return Request::Complete;
}

// Waits until the copy has said the answer, and nothing else, in time.
bool answered(HandoffConnection &connection, const QByteArray &answer,
              const QDeadlineTimer &patience)
{
  QByteArray said;
  while (said.size() < answer.size()) {
    const QByteArray more = connection.read(answer.size() - said.size(), patience);
    if (more.isEmpty())
      break;
    said += more;
  }
  return said == answer;
}

} // namespace

const QByteArray HandoffReady = QByteArrayLiteral("ready\n");
const QByteArray HandoffTaken = QByteArrayLiteral("taken\n");

qsizetype HandoffExchange::room() const { return FileHandoff::LongestMessage - m_received.size(); }

HandoffExchange::Step HandoffExchange::received(const QByteArray &bytes)
{
  m_received.append(bytes);
  if (!m_ready) {
    switch (readRequest(m_received, m_path)) {
    case Request::Incomplete:
      return m_received.size() >= FileHandoff::LongestMessage ? Step::CutOff : Step::Wait;
    case Request::Refused:
      return Step::CutOff;
    case Request::Complete:
      m_ready = true;
      m_received.clear();
      return Step::AnswerReady;
    }
  }
  if (m_received.size() < Confirmed.size())
    return Step::Wait;
  return m_received == Confirmed ? Step::Take : Step::CutOff;
}

bool FileHandoff::send(const QStringList &names, const QString &path)
{
  const QByteArray request = requestFor(path);
  if (request.size() > LongestMessage)
    return false;
  for (const QString &name : names) {
    const QDeadlineTimer patience(AnswerPatience);
    const auto connection = HandoffConnection::open(name, patience);
    if (!connection || !connection->write(request, patience) ||
        !answered(*connection, HandoffReady, patience) || !connection->write(Confirmed, patience))
      continue;
    if (answered(*connection, HandoffTaken, patience))
      return true;
  }
  return false;
}
