-- Working-operation minutes take fractions: 1,5 is a minute and a half.
-- Whole minutes already kept read the same. Safe to run again.

ALTER TABLE productworkingoperation
  MODIFY COLUMN preparationtime DOUBLE NULL,
  MODIFY COLUMN productiontime DOUBLE NULL;
