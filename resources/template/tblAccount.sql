-- The template data file "DATABASE": an empty, unencrypted database that defines tblAccount.
-- A new data file is this template compacted into an encrypted copy.
PRAGMA page_size = 4096;
CREATE TABLE tblAccount (
    ID INTEGER PRIMARY KEY,
    Account TEXT DEFAULT '',
    URL TEXT DEFAULT '',
    IDtext TEXT DEFAULT '',
    Password TEXT DEFAULT '',
    HINT TEXT DEFAULT '',
    Key1_Name TEXT DEFAULT '',
    Key1 TEXT DEFAULT '',
    Key2_Name TEXT DEFAULT '',
    Key2 TEXT DEFAULT '',
    Key3_Name TEXT DEFAULT '',
    Key3 TEXT DEFAULT '',
    Key4_Name TEXT DEFAULT '',
    Key4 TEXT DEFAULT '',
    Info TEXT DEFAULT ''
);
