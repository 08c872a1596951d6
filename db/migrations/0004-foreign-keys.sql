-- Foreign keys from products to their tax rate and from stock rows to their
-- warehouse: a rate or warehouse still in use cannot be deleted, and a row
-- written while its parent is being deleted waits for that delete and fails.
-- Rows that already point at nothing (left by deletes made before the
-- delete guards) are not checked, so the keys come in anyway: such a row
-- keeps its other columns editable, and no new one can be made. The table
-- is copied: added in place with the checks off, the server records the
-- keys as NO ACTION instead of RESTRICT (the same in effect, not in name).
SET SESSION foreign_key_checks = 0;
ALTER TABLE product ADD CONSTRAINT product_tax FOREIGN KEY IF NOT EXISTS (taxid) REFERENCES tax (taxid)
  ON DELETE RESTRICT ON UPDATE RESTRICT, ALGORITHM=COPY;
ALTER TABLE productwarehouse ADD CONSTRAINT productwarehouse_warehouse FOREIGN KEY IF NOT EXISTS (warehouseid)
  REFERENCES warehouse (warehouseid) ON DELETE RESTRICT ON UPDATE RESTRICT, ALGORITHM=COPY;
ALTER TABLE productattributewarehouse ADD CONSTRAINT productattributewarehouse_warehouse FOREIGN KEY IF NOT EXISTS
  (warehouseid) REFERENCES warehouse (warehouseid) ON DELETE RESTRICT ON UPDATE RESTRICT, ALGORITHM=COPY;
SET SESSION foreign_key_checks = 1;
