-- The commit marks of the write policy: a write whose commit answer was lost
-- with the connection is looked up by its mark, so it is neither lost nor
-- written twice. Safe to run again.

CREATE TABLE IF NOT EXISTS commitmark (
  writer  CHAR(36) NOT NULL,
  token   CHAR(36) NOT NULL,
  written TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (writer)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
