-- The library: playlists, their songs, the play history by day, the CD shelf
-- and the one row of stored state. Song addresses in url and url1 are stored
-- mirrored; titles compare without regard to case, addresses exactly.

CREATE TABLE class (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    title TEXT NOT NULL DEFAULT '' COLLATE NOCASE
);

CREATE TABLE list (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    classid INTEGER NOT NULL DEFAULT 0,
    title TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    url TEXT NOT NULL DEFAULT '',
    url1 TEXT NOT NULL DEFAULT '',
    url2 TEXT NOT NULL DEFAULT '',
    musicid INTEGER NOT NULL DEFAULT 0,
    baiduid INTEGER NOT NULL DEFAULT 0,
    addtime TEXT NOT NULL DEFAULT (datetime('now', 'localtime'))
);
CREATE INDEX list_classid ON list (classid);
CREATE INDEX list_url ON list (url);

CREATE TABLE ls (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    title TEXT NOT NULL DEFAULT '' COLLATE NOCASE
);
CREATE INDEX ls_title ON ls (title);

CREATE TABLE lslist (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    lsid INTEGER NOT NULL DEFAULT 0,
    title TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    url TEXT NOT NULL DEFAULT '',
    url1 TEXT NOT NULL DEFAULT '',
    url2 TEXT NOT NULL DEFAULT '',
    musicid INTEGER NOT NULL DEFAULT 0,
    baiduid INTEGER NOT NULL DEFAULT 0,
    listid INTEGER NOT NULL DEFAULT 0,
    addtime TEXT NOT NULL DEFAULT (datetime('now', 'localtime'))
);
CREATE INDEX lslist_lsid ON lslist (lsid);

CREATE TABLE cd (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    title TEXT NOT NULL DEFAULT '',
    specialid INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX cd_specialid ON cd (specialid);

CREATE TABLE config (
    addtime TEXT NOT NULL DEFAULT (datetime('now', 'localtime')),
    downday INTEGER NOT NULL DEFAULT 0,
    content TEXT NOT NULL DEFAULT ''
);
