-- Schema of a new PostgreSQL database (the statement file names this file).
-- Every record table has PK (from its sequence <table>_gen) and ROW_VERSION
-- (raised by each update; an update or delete naming an older version
-- changes nothing and is reported as a conflict).

CREATE TABLE SCHEMA_VERSION (NUMBER INTEGER NOT NULL);

CREATE TABLE nuv_domain_mships (
  DOMAIN_ID INTEGER NOT NULL,
  SRC_PK INTEGER NOT NULL,
  SRC_TABLE TEXT NOT NULL,
  PRIMARY KEY (SRC_TABLE, SRC_PK, DOMAIN_ID)
);
CREATE INDEX nuv_domain_mships_domain ON nuv_domain_mships (DOMAIN_ID, SRC_TABLE, SRC_PK);

CREATE TABLE nuv_key_values (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  NAME TEXT,
  VALUE TEXT
);
CREATE SEQUENCE nuv_key_values_gen;
CREATE INDEX nuv_key_values_name ON nuv_key_values (NAME);

CREATE TABLE nuv_address (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  ADDR TEXT
);
CREATE SEQUENCE nuv_address_gen;
