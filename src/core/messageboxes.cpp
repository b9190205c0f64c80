#include "core/messageboxes.h"

#include "config.h"

void showError(QWidget *owner, const QString &text)
{
  desktop().messageBox(owner, text, MessageIcon::Critical, MessageButtons::Ok, AppTitle);
}

void showNotice(QWidget *owner, const QString &text)
{
  desktop().messageBox(owner, text, MessageIcon::Information, MessageButtons::Ok, AppTitle);
}

MessageAnswer askYesNo(QWidget *owner, const QString &text)
{
  return desktop().messageBox(owner, text, MessageIcon::Information, MessageButtons::YesNo,
                              AppTitle);
}
