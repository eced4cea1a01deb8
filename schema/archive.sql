-- Tables and generators of a company's archive database.
-- One statement per semicolon; lines starting with "--" are comments.
-- The database is created with page size 4096, SQL dialect 3 and no
-- character set.

-- Named values. The column order matters: rows are also inserted by
-- position, twelve values in this order. NUMERO holds a number written with
-- a decimal point.
CREATE TABLE TABX (
  CODICE INTEGER NOT NULL,
  CODPROGETTO VARCHAR(64),
  CODSITUAZIONE VARCHAR(64),
  TIPO VARCHAR(10),
  NOME VARCHAR(64),
  NUMERO DOUBLE PRECISION,
  TESTO VARCHAR(255),
  DATA DATE,
  MEMO BLOB SUB_TYPE TEXT,
  LIVELLO1 INTEGER,
  LIVELLO2 INTEGER,
  UTENTE INTEGER,
  CONSTRAINT PK_TABX PRIMARY KEY (CODICE)
);

-- Window semaphores, inserted by position with six values: window number,
-- library, function, user number, taken flag (1 taken, 0 released) and the
-- moment it was taken. No key: calls without a window number all carry 0.
CREATE TABLE SEMAFORIF (
  ID INTEGER,
  DLL VARCHAR(255),
  FORM VARCHAR(128),
  UTENTE INTEGER,
  OCCUPATO INTEGER,
  DATAORA TIMESTAMP
);

-- Critical windows; OSSERVATASPECIALE 1 puts a window under special watch.
CREATE TABLE SEMAFORIFCRITICHE (
  DLL VARCHAR(255),
  FORM VARCHAR(128),
  OSSERVATASPECIALE INTEGER
);

-- Windows linked to a critical window.
CREATE TABLE SEMAFORIFCRITICHECOLL (
  DLLPRIN VARCHAR(255),
  FORMPRIN VARCHAR(128),
  DLLCOLLEGATA VARCHAR(255),
  FORMCOLLEGATA VARCHAR(128)
);

-- Windows refused because of a semaphore and semaphores released by hand.
CREATE TABLE SEMAFORIFANOMALIE (
  ID INTEGER NOT NULL,
  DATAORAANOMALIA TIMESTAMP,
  UTENTE INTEGER,
  DLL VARCHAR(255),
  FORM VARCHAR(128),
  DESCRIZIONE VARCHAR(255),
  CONSTRAINT PK_SEMAFORIFANOMALIE PRIMARY KEY (ID)
);

-- Indexes for the named-value and semaphore look-ups.
CREATE INDEX IX_TABX_NOME ON TABX (NOME, UTENTE);
CREATE INDEX IX_SEMAFORIF_FINESTRA ON SEMAFORIF (DLL, FORM);
CREATE INDEX IX_SEMAFORIF_ID ON SEMAFORIF (ID);
CREATE INDEX IX_CRITICHECOLL_PRIN ON SEMAFORIFCRITICHECOLL (DLLPRIN, FORMPRIN);

CREATE GENERATOR CODICETABXCOUNTER;

CREATE GENERATOR IDSEMAFORIFANOMALIECOUNTER;
