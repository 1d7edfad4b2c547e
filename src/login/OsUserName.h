#pragma once
// The name of the operating-system user running the program, offered as the user name at the first login.
#include <QString>

// $USER when it is set, else the account name of the real user id; empty when neither gives a name.
// At most 255 characters are taken.
QString OsUserName();
