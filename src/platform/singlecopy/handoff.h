#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Saved readings handed from a later start to the copy that runs, over local
// connections that only this user reaches (see singlecopy/handoff_p.h). The
// start sends the path, as the QString it is, so that any name the system
// allows arrives exactly, line breaks and bytes that are no UTF-8 included.
// The running copy answers "ready" when it can take the file, the start
// confirms while it still waits, and only then does the copy take the file
// and answer "taken". A start that gave up never confirms, so a copy that was
// stopped meanwhile does not open its file later; a copy that is ending takes
// no file, so the start tells its user instead.
class FileHandoff : public QObject {
  Q_OBJECT
public:
  using Receiver = std::function<void(const QString &path)>;

  explicit FileHandoff(Receiver receiver);
  ~FileHandoff() override;

  // Listens under each name; false when none can be listened on.
  bool listen(const QStringList &names);

  // From now on takes no file: stops listening and drops every start that is
  // still being served, which then tells its user that the copy runs.
  void refuse();

  // Hands the path to the copy listening under the first of the names that
  // takes it; false when none took it.
  static bool send(const QStringList &names, const QString &path);

  // The longest request taken, in bytes: the longest path Windows allows, in
  // UTF-16, and its length.
  static constexpr qsizetype LongestMessage = 4 + 32767 * 2;

private:
  // What listens, and the connections it serves; none once refused.
  struct Listening;

  std::unique_ptr<Listening> m_listening;
  Receiver m_receiver;
};
