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

-- DHCPv6 pools, bindings, pendings, pool marks and policies, with the address
-- ranges, exclusions and relay addresses of the pools (link tables).

CREATE TABLE dhcp_apools6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  NAME TEXT,
  DESCRIPTION TEXT,
  ENABLED BIGINT,
  WEIGHT BIGINT,
  ALLOW TEXT,
  DENY TEXT,
  POLICIES TEXT,
  PREFIX TEXT,
  PREFIX_LEN BIGINT,
  SUB_PREFIX_LEN BIGINT,
  PREF_LT BIGINT,
  VALID_LT BIGINT,
  SESSION_ID BIGINT,
  OPTIONS TEXT,
  ADDR_RANGE BIGINT
);
CREATE SEQUENCE dhcp_apools6_gen;

CREATE TABLE dhcp_npools6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  NAME TEXT,
  DESCRIPTION TEXT,
  ENABLED BIGINT,
  WEIGHT BIGINT,
  ALLOW TEXT,
  DENY TEXT,
  POLICIES TEXT,
  PREFIX TEXT,
  PREFIX_LEN BIGINT,
  SUB_PREFIX_LEN BIGINT,
  PREF_LT BIGINT,
  VALID_LT BIGINT,
  SESSION_ID BIGINT,
  OPTIONS TEXT,
  ADDR_RANGE BIGINT
);
CREATE SEQUENCE dhcp_npools6_gen;

CREATE TABLE dhcp_address_range (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  START_IP TEXT,
  STOP_IP TEXT
);
CREATE SEQUENCE dhcp_address_range_gen;

CREATE TABLE dhcp_exc_addr_range (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  START_IP TEXT,
  STOP_IP TEXT
);
CREATE SEQUENCE dhcp_exc_addr_range_gen;

CREATE TABLE dhcp_abindings6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  IPADDR TEXT,
  RELAY TEXT,
  BOOT_PROTO TEXT,
  LEASE_COMMIT BIGINT,
  LEASE_EXPIRE BIGINT,
  LEASE_DURATION BIGINT,
  FIXED BIGINT,
  TID_TYPE BIGINT,
  TID TEXT,
  POOL_OID BIGINT,
  ACCOUNT_OID BIGINT,
  POLICIES TEXT,
  OPTIONS TEXT,
  BINDINGS_COUNT BIGINT,
  TID_COUNT BIGINT,
  CLIENT_ID TEXT,
  IATYPE BIGINT,
  IAID BIGINT,
  PREFIX_LEN BIGINT,
  ADDR_KEY TEXT COLLATE "C"
);
CREATE SEQUENCE dhcp_abindings6_gen;

CREATE TABLE dhcp_nbindings6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  IPADDR TEXT,
  RELAY TEXT,
  BOOT_PROTO TEXT,
  LEASE_COMMIT BIGINT,
  LEASE_EXPIRE BIGINT,
  LEASE_DURATION BIGINT,
  FIXED BIGINT,
  TID_TYPE BIGINT,
  TID TEXT,
  POOL_OID BIGINT,
  ACCOUNT_OID BIGINT,
  POLICIES TEXT,
  OPTIONS TEXT,
  BINDINGS_COUNT BIGINT,
  TID_COUNT BIGINT,
  CLIENT_ID TEXT,
  IATYPE BIGINT,
  IAID BIGINT,
  PREFIX_LEN BIGINT,
  ADDR_KEY TEXT COLLATE "C"
);
CREATE SEQUENCE dhcp_nbindings6_gen;

CREATE TABLE dhcp_apendings6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  IPADDR TEXT,
  RELAY TEXT,
  POOL_OID BIGINT,
  OFFER_TIME BIGINT,
  CLIENT_ID TEXT,
  IATYPE BIGINT,
  IAID BIGINT,
  PREFIX_LEN BIGINT,
  ADDR_KEY TEXT COLLATE "C"
);
CREATE SEQUENCE dhcp_apendings6_gen;

CREATE TABLE dhcp_npendings6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  IPADDR TEXT,
  RELAY TEXT,
  POOL_OID BIGINT,
  OFFER_TIME BIGINT,
  CLIENT_ID TEXT,
  IATYPE BIGINT,
  IAID BIGINT,
  PREFIX_LEN BIGINT,
  ADDR_KEY TEXT COLLATE "C"
);
CREATE SEQUENCE dhcp_npendings6_gen;

CREATE TABLE dhcp_apool_marks6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  MARK TEXT,
  POOL_OID BIGINT
);
CREATE SEQUENCE dhcp_apool_marks6_gen;

CREATE TABLE dhcp_policies6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  NAME TEXT,
  ENFORCE BIGINT,
  DESCRIPTION TEXT,
  OPTIONS TEXT
);
CREATE SEQUENCE dhcp_policies6_gen;

-- Stored option and vendor-class definitions (those users add), shared by
-- the servers and the management tools.

CREATE TABLE dhcp_option_attributes6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  TAGPATH TEXT,
  VENDOR_ID TEXT,
  NAME TEXT,
  DEFINITION TEXT
);
CREATE SEQUENCE dhcp_option_attributes6_gen;
CREATE INDEX dhcp_option_attributes6_key ON dhcp_option_attributes6 (TAGPATH, VENDOR_ID);

CREATE TABLE dhcp_vendor_classes6 (
  PK INTEGER PRIMARY KEY,
  ROW_VERSION BIGINT NOT NULL,
  OID BIGINT,
  MOD_TIME BIGINT,
  VENDOR_ID TEXT,
  VENDOR_NAME TEXT,
  VENDOR_CLASS TEXT,
  DESCRIPTION TEXT
);
CREATE SEQUENCE dhcp_vendor_classes6_gen;
CREATE INDEX dhcp_vendor_classes6_class ON dhcp_vendor_classes6 (VENDOR_CLASS);

CREATE TABLE dhcp_apools6_relay_links (
  SRC_ATTR_REF INTEGER NOT NULL,
  SRC_ATTR_NAME TEXT NOT NULL,
  DEST_ATTR_REF INTEGER NOT NULL,
  DEST_ATTR_NAME TEXT,
  DEST_SEQ_KEY BIGINT NOT NULL,
  PRIMARY KEY (SRC_ATTR_REF, SRC_ATTR_NAME, DEST_SEQ_KEY)
);
CREATE INDEX dhcp_apools6_relay_links_dest ON dhcp_apools6_relay_links (DEST_ATTR_REF);

CREATE TABLE dhcp_apools6_exc_links (
  SRC_ATTR_REF INTEGER NOT NULL,
  SRC_ATTR_NAME TEXT NOT NULL,
  DEST_ATTR_REF INTEGER NOT NULL,
  DEST_ATTR_NAME TEXT,
  DEST_SEQ_KEY BIGINT NOT NULL,
  PRIMARY KEY (SRC_ATTR_REF, SRC_ATTR_NAME, DEST_SEQ_KEY)
);
CREATE INDEX dhcp_apools6_exc_links_dest ON dhcp_apools6_exc_links (DEST_ATTR_REF);

CREATE TABLE dhcp_npools6_relay_links (
  SRC_ATTR_REF INTEGER NOT NULL,
  SRC_ATTR_NAME TEXT NOT NULL,
  DEST_ATTR_REF INTEGER NOT NULL,
  DEST_ATTR_NAME TEXT,
  DEST_SEQ_KEY BIGINT NOT NULL,
  PRIMARY KEY (SRC_ATTR_REF, SRC_ATTR_NAME, DEST_SEQ_KEY)
);
CREATE INDEX dhcp_npools6_relay_links_dest ON dhcp_npools6_relay_links (DEST_ATTR_REF);

CREATE TABLE dhcp_npools6_exc_links (
  SRC_ATTR_REF INTEGER NOT NULL,
  SRC_ATTR_NAME TEXT NOT NULL,
  DEST_ATTR_REF INTEGER NOT NULL,
  DEST_ATTR_NAME TEXT,
  DEST_SEQ_KEY BIGINT NOT NULL,
  PRIMARY KEY (SRC_ATTR_REF, SRC_ATTR_NAME, DEST_SEQ_KEY)
);
CREATE INDEX dhcp_npools6_exc_links_dest ON dhcp_npools6_exc_links (DEST_ATTR_REF);

CREATE INDEX nuv_address_addr ON nuv_address (ADDR);
CREATE INDEX dhcp_address_range_start ON dhcp_address_range (START_IP, STOP_IP);
CREATE INDEX dhcp_apools6_i0 ON dhcp_apools6 (NAME);
CREATE INDEX dhcp_npools6_i1 ON dhcp_npools6 (NAME);
CREATE INDEX dhcp_abindings6_i2 ON dhcp_abindings6 (CLIENT_ID, IATYPE, IAID, RELAY);
CREATE INDEX dhcp_nbindings6_i3 ON dhcp_nbindings6 (CLIENT_ID, IATYPE, IAID, RELAY);
CREATE INDEX dhcp_abindings6_i4 ON dhcp_abindings6 (IPADDR);
CREATE INDEX dhcp_nbindings6_i5 ON dhcp_nbindings6 (IPADDR);
CREATE INDEX dhcp_abindings6_i6 ON dhcp_abindings6 (POOL_OID, OID);
CREATE INDEX dhcp_nbindings6_i7 ON dhcp_nbindings6 (POOL_OID, OID);
CREATE INDEX dhcp_abindings6_i8 ON dhcp_abindings6 (LEASE_EXPIRE);
CREATE INDEX dhcp_nbindings6_i9 ON dhcp_nbindings6 (LEASE_EXPIRE);
CREATE INDEX dhcp_abindings6_i10 ON dhcp_abindings6 (TID, TID_TYPE);
CREATE INDEX dhcp_nbindings6_i11 ON dhcp_nbindings6 (TID, TID_TYPE);
CREATE INDEX dhcp_apendings6_i12 ON dhcp_apendings6 (CLIENT_ID, IATYPE, IAID, RELAY);
CREATE INDEX dhcp_npendings6_i13 ON dhcp_npendings6 (CLIENT_ID, IATYPE, IAID, RELAY);
CREATE INDEX dhcp_apendings6_i14 ON dhcp_apendings6 (OFFER_TIME);
CREATE INDEX dhcp_npendings6_i15 ON dhcp_npendings6 (OFFER_TIME);
CREATE INDEX dhcp_apendings6_i16 ON dhcp_apendings6 (POOL_OID);
CREATE INDEX dhcp_npendings6_i17 ON dhcp_npendings6 (POOL_OID);
CREATE INDEX dhcp_apool_marks6_i18 ON dhcp_apool_marks6 (POOL_OID);
CREATE INDEX dhcp_policies6_i19 ON dhcp_policies6 (NAME);

-- The address of a lease or offer as 32 lower-case hex digits (collation
-- "C": byte order whatever the database's locale): ordered range queries
-- find used addresses, and each address is leased and offered at most
-- once, whichever server writes it.
CREATE UNIQUE INDEX dhcp_abindings6_addr_key ON dhcp_abindings6 (ADDR_KEY);
CREATE UNIQUE INDEX dhcp_nbindings6_addr_key ON dhcp_nbindings6 (ADDR_KEY);
CREATE UNIQUE INDEX dhcp_apendings6_addr_key ON dhcp_apendings6 (ADDR_KEY);
CREATE UNIQUE INDEX dhcp_npendings6_addr_key ON dhcp_npendings6 (ADDR_KEY);
