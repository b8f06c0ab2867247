#pragma once

#include <QString>

// The user's own files, trusted as ssh and GnuPG trust them: a command is run, and a history read, only from
// a file and a folder that the user owns and nobody else can write; a file that holds messages is readable
// and writable by its owner alone whatever the umask, and is never reached through a link that someone
// planted.
namespace pagewing::OwnFiles {

// Whose a trusted file or folder may be: the user's, or also root's (as /etc is).
enum class Owners { User, UserOrRoot };

// Why a file or folder cannot be trusted ("others can write to /tmp"); empty when it can. A link is followed:
// what it reaches is checked.
QString Distrust(const QString& path, Owners owners);

// Why a file to run a command from cannot be trusted: the file, the folder it is named in and, where it is
// a link, the folder of what it reaches. Empty when all can.
QString DistrustFile(const QString& path);

// True when the name is a link itself; false when it is missing or anything else.
bool IsLink(const QString& path);

// True when something has the name, a link that leads nowhere included.
bool Exists(const QString& path);

// Makes an existing regular file its owner's alone (0600) without following a link; false for a link,
// anything but a regular file, or a file that cannot be changed.
bool KeepPrivate(const QString& path);

// Makes a new empty file that is its owner's alone (0600); false when the name is taken, by a link too.
bool CreatePrivate(const QString& path);

} // namespace pagewing::OwnFiles
