-- From the first released schema (no recorded version) to the one with keys
-- on every table, the save token and the identifier locks.
-- Every statement may run again after a crash half-way: MariaDB's DDL is not
-- transactional, so each one checks or repeats harmlessly.

CREATE TABLE IF NOT EXISTS schemaversion (
  version  INT NOT NULL,
  applied  DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (version)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Link tables keyed by their two columns, a repeated link kept once. Each
-- is rebuilt beside the old one and takes its place in one atomic rename;
-- a copy left by a crash (here or in the former start-up upgrade) goes first.
-- (ALTER IGNORE ... ADD PRIMARY KEY lost both copies of a repeated link here.)
DROP TABLE IF EXISTS productalter_keyed, productalter_unkeyed;
CREATE TABLE productalter_keyed LIKE productalter;
ALTER TABLE productalter_keyed
  DROP INDEX IF EXISTS productalter_product,
  ADD PRIMARY KEY IF NOT EXISTS (productid, groupid);
INSERT IGNORE INTO productalter_keyed SELECT * FROM productalter;
RENAME TABLE productalter TO productalter_unkeyed, productalter_keyed TO productalter;
DROP TABLE productalter_unkeyed;

DROP TABLE IF EXISTS productcategorypr_keyed, productcategorypr_unkeyed;
CREATE TABLE productcategorypr_keyed LIKE productcategorypr;
ALTER TABLE productcategorypr_keyed
  DROP INDEX IF EXISTS productcategorypr_product,
  ADD PRIMARY KEY IF NOT EXISTS (productid, categoryprid);
INSERT IGNORE INTO productcategorypr_keyed SELECT * FROM productcategorypr;
RENAME TABLE productcategorypr TO productcategorypr_unkeyed, productcategorypr_keyed TO productcategorypr;
DROP TABLE productcategorypr_unkeyed;

-- A PLU belongs to one product: of products that share one, the first keeps
-- it and the others lose it (a till could not tell them apart anyway).
UPDATE product AS p
  JOIN (SELECT kasaplu, MIN(productid) AS keeper FROM product
        WHERE kasaplu IS NOT NULL GROUP BY kasaplu HAVING COUNT(*) > 1) AS d
    ON p.kasaplu = d.kasaplu AND p.productid <> d.keeper
  SET p.kasaplu = NULL;
ALTER TABLE product
  ADD COLUMN IF NOT EXISTS savetoken CHAR(36) NULL AFTER kasasort,
  DROP INDEX IF EXISTS product_kasaplu,
  ADD UNIQUE KEY product_kasaplu (kasaplu);
ALTER TABLE product ADD UNIQUE KEY IF NOT EXISTS product_savetoken (savetoken);

CREATE TABLE IF NOT EXISTS identifierlock (
  name  VARCHAR(30) NOT NULL,
  value BIGINT NOT NULL DEFAULT 0,
  PRIMARY KEY (name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
