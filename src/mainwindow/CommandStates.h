#pragma once
// Which of the window's commands are enabled, and which pictures the data file buttons show, in each
// of the three record states. UpdateTools applies these tables; nothing else decides them.
//
// Controls are named as in the window: menu items, command buttons, picture buttons, the panels, and
// the buttons of the tool bar tbToolBar as "tbToolBar:" + the button's key.
#include <QList>
#include <QString>

class Recordset;

enum class RecordState { NoFile, EmptyFile, FileWithRecords };

namespace CommandStates {

// No file: no record set or no active connection; otherwise empty or not by the record count (a new
// record that is pending counts).
RecordState stateOf(const Recordset* records);

struct Setting
{
    QString control;
    bool enabled;
};

struct Picture
{
    QString image;
    QString picture;
};

// The record commands: add, delete, the generator and the record navigation.
QList<Setting> recordCommands(RecordState state);
// The data file commands of the menus, the tool bar and the picture buttons of the cool bar.
QList<Setting> fileCommands(RecordState state);
// The pictures of the data file picture buttons (the six of the file commands, Import and Export).
QList<Picture> fileButtonPictures(RecordState state);
// The record panel Frame2 is enabled, and the filter panel Frame3 visible, while a file is open.
bool recordPanelEnabled(RecordState state);
bool filterPanelVisible(RecordState state);
// The fourteen record boxes and their eleven commands, in the order they are set.
QList<Setting> recordBoxes(RecordState state);

// A data file open for viewing only (it cannot be written): the commands that would change a record are
// disabled whatever the state (Import among them; Export stays), and the record boxes take no typing.
bool isViewOnly(const Recordset* records);
QList<Setting> viewOnlyCommands();

} // namespace CommandStates
