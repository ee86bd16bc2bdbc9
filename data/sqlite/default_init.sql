-- Schema of a new SQLite database (the statement file names this file).
-- Every record table has PK (filled from nuv_generators) and ROW_VERSION
-- (raised by each update; an update or delete naming an older version
-- changes nothing and is reported as a conflict).

CREATE TABLE SCHEMA_VERSION (NUMBER INTEGER NOT NULL);

CREATE TABLE nuv_generators (
  NAME TEXT PRIMARY KEY,
  VALUE INTEGER NOT NULL
) WITHOUT ROWID;

CREATE TABLE nuv_domain_mships (
  DOMAIN_ID INTEGER NOT NULL,
  SRC_PK INTEGER NOT NULL,
  SRC_TABLE TEXT NOT NULL,
  PRIMARY KEY (SRC_TABLE, SRC_PK, DOMAIN_ID)
) WITHOUT ROWID;
CREATE INDEX nuv_domain_mships_domain ON nuv_domain_mships (DOMAIN_ID, SRC_TABLE, SRC_PK);

CREATE TABLE nuv_key_values (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION INTEGER NOT NULL,
  OID INTEGER,
  MOD_TIME INTEGER,
  NAME TEXT,
  VALUE TEXT
);
CREATE INDEX nuv_key_values_name ON nuv_key_values (NAME);

CREATE TABLE nuv_address (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION INTEGER NOT NULL,
  OID INTEGER,
  MOD_TIME INTEGER,
  ADDR TEXT
);
