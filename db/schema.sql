-- Tarvex database schema: the product side, the document tables the stock
-- reports read, the sibling modules' tables the product module reads, and the
-- database options store.
--
-- Conventions:
--   * Keys are BIGINT AUTO_INCREMENT; floating amounts are DOUBLE; texts are
--     VARCHAR of the size the data layer declares; long texts are TEXT.
--   * product.active is CHAR(1) holding 'y' or 'n' (SQL texts compare it with
--     'y'). Every other yes/no column is BOOLEAN (TINYINT(1)) holding 1 or 0;
--     the data layer reads those as true/false.
--   * A required column that some INSERT of the application leaves out has a
--     default (strict mode refuses the row otherwise). Required columns that
--     the application always fills and validates (product name, unit, tax,
--     price currency) have none, so a missing value is an error, never a
--     silent zero.
--   * utf8mb4 throughout, InnoDB throughout.
--   * Every table has a primary key: a Galera cluster replicates rows by it
--     (link tables use their two columns).
--   * Foreign keys (RESTRICT) where the product side's own rows need a tax
--     rate or a warehouse. The document tables have none: they are the
--     document module's, and the product module's delete guards count them.

SET NAMES utf8mb4;

-- ---------------------------------------------------------------- catalogue

CREATE TABLE tax (
  taxid        BIGINT NOT NULL AUTO_INCREMENT,
  name         VARCHAR(15) NOT NULL,
  description  VARCHAR(50) NULL,
  value        DOUBLE NOT NULL DEFAULT 0,
  status       VARCHAR(8) NOT NULL DEFAULT 'standard',
  PRIMARY KEY (taxid),
  KEY tax_status (status)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE kasagroup (
  kasagroupid  BIGINT NOT NULL AUTO_INCREMENT,
  name         VARCHAR(50) NOT NULL DEFAULT '',
  PRIMARY KEY (kasagroupid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE product (
  productid          BIGINT NOT NULL AUTO_INCREMENT,
  active             CHAR(1) NOT NULL DEFAULT 'y',
  barcode            VARCHAR(50) NULL,
  code               VARCHAR(20) NULL,
  name               VARCHAR(100) NOT NULL,
  foreignname        VARCHAR(100) NULL,
  type               VARCHAR(1) NOT NULL DEFAULT 'r',
  unitname           VARCHAR(15) NOT NULL,
  taxid              BIGINT NOT NULL,
  price              DOUBLE NOT NULL DEFAULT 0,
  pricecurrency      VARCHAR(3) NOT NULL,
  inputprice         DOUBLE NULL,
  inputpricecurrency VARCHAR(3) NULL,
  priceformula       VARCHAR(20) NULL,
  supplyprice        DOUBLE NULL,
  planprice          DOUBLE NULL,
  recommendedprice   DOUBLE NULL,
  rebate             DOUBLE NOT NULL DEFAULT 0,
  recommendedrebate  DOUBLE NULL,
  excise             DOUBLE NULL,
  manufname          VARCHAR(100) NULL,
  manufcode          VARCHAR(50) NULL,
  manufseries        VARCHAR(50) NULL,
  serialnumbers      BOOLEAN NOT NULL DEFAULT 0,
  kasaplu            BIGINT NULL,
  kasagroupid        BIGINT NULL,
  kasasort           INT NOT NULL DEFAULT 0,
  -- Written by every save; after a lost connection it tells whether the
  -- save committed.
  savetoken          CHAR(36) NULL,
  PRIMARY KEY (productid),
  KEY product_name (name),
  KEY product_code (code),
  KEY product_barcode (barcode),
  KEY product_manufcode (manufcode),
  KEY product_manufname (manufname),
  KEY product_taxid (taxid),
  UNIQUE KEY product_kasaplu (kasaplu),
  UNIQUE KEY product_savetoken (savetoken),
  KEY product_kasagroup (kasagroupid, kasasort),
  KEY product_type_active (type, active),
  -- A tax rate in use cannot go; a product saved while its rate is being
  -- deleted waits for that delete and then fails.
  CONSTRAINT product_tax FOREIGN KEY (taxid) REFERENCES tax (taxid) ON DELETE RESTRICT ON UPDATE RESTRICT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- At most one row per product, so the product is the key.
CREATE TABLE productdetail (
  productid                 BIGINT NOT NULL,
  characteristics           TEXT NULL,
  description               TEXT NULL,
  specification             TEXT NULL,
  model                     VARCHAR(100) NULL,
  warranty                  VARCHAR(25) NULL,
  originalcountry           VARCHAR(25) NULL,
  exportcountry             VARCHAR(25) NULL,
  importcountry             VARCHAR(25) NULL,
  mass                      DOUBLE NULL,
  massgross                 DOUBLE NULL,
  massunitname              VARCHAR(15) NULL,
  commercialpackage         DOUBLE NULL,
  transportpackage          DOUBLE NULL,
  commercialpackagebarcode  VARCHAR(20) NULL,
  transportpackagebarcode   VARCHAR(20) NULL,
  minimalorderquantity      DOUBLE NULL,
  tariffnumber              VARCHAR(20) NULL,
  additionalrebate          DOUBLE NULL DEFAULT 0,
  maxrebate                 DOUBLE NULL DEFAULT 0,
  maxretailrebate           DOUBLE NULL DEFAULT 0,
  secondunitname            VARCHAR(15) NULL,
  secondunitnamecoefficient DOUBLE NULL,
  secondunitnameprice       DOUBLE NULL,
  b2b                       BOOLEAN NULL DEFAULT 0,
  web                       BOOLEAN NULL DEFAULT 0,
  webprice                  DOUBLE NULL DEFAULT 0,
  b2bprice                  DOUBLE NULL DEFAULT 0,
  bonus                     DOUBLE NULL,
  valutedays                BIGINT NULL,
  specialprice              BOOLEAN NULL DEFAULT 0,
  PRIMARY KEY (productid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE warehouse (
  warehouseid                  BIGINT NOT NULL AUTO_INCREMENT,
  name                         VARCHAR(50) NULL,
  code                         VARCHAR(15) NULL,
  status                       VARCHAR(8) NOT NULL DEFAULT 'standard',
  address                      VARCHAR(200) NULL,
  city                         VARCHAR(50) NULL,
  zip                          VARCHAR(20) NULL,
  pricetype                    VARCHAR(1) NOT NULL DEFAULT 'v',
  warehousemethodtype          VARCHAR(1) NULL,
  warehousecurrency            VARCHAR(3) NULL,
  active                       BOOLEAN NOT NULL DEFAULT 1,
  b2b                          BOOLEAN NULL DEFAULT 0,
  warehouseautopricechange     BOOLEAN NOT NULL DEFAULT 1,
  warehouseonlyfreeamount      BOOLEAN NOT NULL DEFAULT 1,
  warehouseinternalsupplyprice BOOLEAN NOT NULL DEFAULT 0,
  lastloadeddocumentid         BIGINT NULL,
  organizationunit             VARCHAR(30) NULL,
  PRIMARY KEY (warehouseid),
  KEY warehouse_name (name),
  KEY warehouse_code (code),
  KEY warehouse_status (status)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productwarehouse (
  productid      BIGINT NOT NULL,
  warehouseid    BIGINT NOT NULL,
  amount         DOUBLE NOT NULL DEFAULT 0,
  price          DOUBLE NOT NULL DEFAULT 0,
  reservedamount DOUBLE NOT NULL DEFAULT 0,
  reversedamount DOUBLE NOT NULL DEFAULT 0,
  orderedamount  DOUBLE NOT NULL DEFAULT 0,
  place          VARCHAR(20) NULL,
  minstock       DOUBLE NULL,
  maxstock       DOUBLE NULL,
  PRIMARY KEY (productid, warehouseid),
  KEY productwarehouse_warehouse (warehouseid),
  -- The same for a warehouse holding stock.
  CONSTRAINT productwarehouse_warehouse FOREIGN KEY (warehouseid) REFERENCES warehouse (warehouseid)
    ON DELETE RESTRICT ON UPDATE RESTRICT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productalter (
  productid BIGINT NOT NULL,
  groupid   INT NOT NULL,
  PRIMARY KEY (productid, groupid),
  KEY productalter_group (groupid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE categorypr (
  categoryprid BIGINT NOT NULL AUTO_INCREMENT,
  name         VARCHAR(50) NOT NULL,
  parentid     BIGINT NOT NULL DEFAULT 0,
  maxrebate    DOUBLE NOT NULL DEFAULT 0,
  webrebate    DOUBLE NOT NULL DEFAULT 0,
  b2brebate    DOUBLE NOT NULL DEFAULT 0,
  PRIMARY KEY (categoryprid),
  KEY categorypr_parent (parentid, name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productcategorypr (
  productid    BIGINT NOT NULL,
  categoryprid BIGINT NOT NULL,
  PRIMARY KEY (productid, categoryprid),
  KEY productcategorypr_category (categoryprid, productid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE attributepr (
  attributeprid BIGINT NOT NULL AUTO_INCREMENT,
  attribute     VARCHAR(50) NOT NULL,
  required      BOOLEAN NOT NULL DEFAULT 0,
  sort          INT NOT NULL DEFAULT 0,
  PRIMARY KEY (attributeprid),
  KEY attributepr_sort (sort)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE attributeprvalue (
  attributeprvalueid BIGINT NOT NULL AUTO_INCREMENT,
  attributeprid      BIGINT NOT NULL,
  attributevalue     VARCHAR(100) NOT NULL,
  sort               INT NOT NULL DEFAULT 0,
  PRIMARY KEY (attributeprvalueid),
  KEY attributeprvalue_attribute (attributeprid, sort)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE categoryprattribute (
  categoryprattributeid BIGINT NOT NULL AUTO_INCREMENT,
  categoryprid          BIGINT NOT NULL,
  attributeprid         BIGINT NOT NULL,
  catattribute          VARCHAR(50) NOT NULL DEFAULT '',
  catattributevalue     VARCHAR(100) NOT NULL DEFAULT '',
  PRIMARY KEY (categoryprattributeid),
  KEY categoryprattribute_category (categoryprid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productattribute (
  productattributeid  BIGINT NOT NULL AUTO_INCREMENT,
  productid           BIGINT NOT NULL,
  attributeprid1      BIGINT NOT NULL DEFAULT 0,
  attributeprid2      BIGINT NOT NULL DEFAULT 0,
  attributeprid3      BIGINT NOT NULL DEFAULT 0,
  attributeprid4      BIGINT NOT NULL DEFAULT 0,
  attributeprid5      BIGINT NOT NULL DEFAULT 0,
  attributeprvalueid1 BIGINT NOT NULL DEFAULT 0,
  attributeprvalueid2 BIGINT NOT NULL DEFAULT 0,
  attributeprvalueid3 BIGINT NOT NULL DEFAULT 0,
  attributeprvalueid4 BIGINT NOT NULL DEFAULT 0,
  attributeprvalueid5 BIGINT NOT NULL DEFAULT 0,
  prodattrequired1    BOOLEAN NOT NULL DEFAULT 0,
  prodattrequired2    BOOLEAN NOT NULL DEFAULT 0,
  prodattrequired3    BOOLEAN NOT NULL DEFAULT 0,
  prodattrequired4    BOOLEAN NOT NULL DEFAULT 0,
  prodattrequired5    BOOLEAN NOT NULL DEFAULT 0,
  prodattribute       VARCHAR(50) NOT NULL DEFAULT '',
  prodattributevalue  VARCHAR(100) NOT NULL DEFAULT '',
  prodattbarcode      VARCHAR(20) NULL,
  PRIMARY KEY (productattributeid),
  KEY productattribute_product (productid),
  KEY productattribute_barcode (prodattbarcode)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productattributewarehouse (
  productattributeid BIGINT NOT NULL,
  warehouseid        BIGINT NOT NULL,
  amount             DOUBLE NOT NULL DEFAULT 0,
  PRIMARY KEY (productattributeid, warehouseid),
  KEY productattributewarehouse_warehouse (warehouseid),
  CONSTRAINT productattributewarehouse_warehouse FOREIGN KEY (warehouseid) REFERENCES warehouse (warehouseid)
    ON DELETE RESTRICT ON UPDATE RESTRICT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productrebate (
  productrebateid BIGINT NOT NULL AUTO_INCREMENT,
  productid       BIGINT NOT NULL,
  quantity        DOUBLE NOT NULL DEFAULT 0,
  rebate          DOUBLE NOT NULL DEFAULT 0,
  rebatetype      VARCHAR(1) NOT NULL DEFAULT 'P',
  PRIMARY KEY (productrebateid),
  KEY productrebate_product (productid, quantity)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productpackaging (
  productpackagingid BIGINT NOT NULL AUTO_INCREMENT,
  productid          BIGINT NOT NULL,
  packagingid        BIGINT NOT NULL,
  productamount      DOUBLE NOT NULL DEFAULT 1,
  packagingamount    DOUBLE NOT NULL DEFAULT 1,
  PRIMARY KEY (productpackagingid),
  KEY productpackaging_product (productid),
  KEY productpackaging_packaging (packagingid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Bills of material of the production module.
CREATE TABLE component (
  componentid BIGINT NOT NULL AUTO_INCREMENT,
  rawid       BIGINT NOT NULL,
  productid   BIGINT NOT NULL,
  quantity    DOUBLE NOT NULL DEFAULT 0,
  PRIMARY KEY (componentid),
  KEY component_raw (rawid),
  KEY component_product (productid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE productworkingoperation (
  productworkingoperationid BIGINT NOT NULL AUTO_INCREMENT,
  productid                 BIGINT NOT NULL,
  machinetype               VARCHAR(30) NULL,
  machinenumber             VARCHAR(30) NULL,
  description               TEXT NULL,
  preparationtime           DOUBLE NULL,   -- minutes; 1,5 is a minute and a half
  productiontime            DOUBLE NULL,
  sort                      INT NOT NULL DEFAULT 0,
  PRIMARY KEY (productworkingoperationid),
  KEY productworkingoperation_product (productid, sort)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- -------------------------------------------------------------- fixed assets

CREATE TABLE depreciationgroup (
  depreciationgroupid BIGINT NOT NULL AUTO_INCREMENT,
  percent             DOUBLE NOT NULL DEFAULT 0,
  description         VARCHAR(100) NULL,
  PRIMARY KEY (depreciationgroupid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE depreciationaccountinggroup (
  depreciationaccountinggroupid BIGINT NOT NULL AUTO_INCREMENT,
  percent                       DOUBLE NOT NULL DEFAULT 0,
  description                   VARCHAR(100) NULL,
  PRIMARY KEY (depreciationaccountinggroupid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- At most one row per product, so the product is the key.
CREATE TABLE fixedasset (
  productid                     BIGINT NOT NULL,
  cataloguenumber               VARCHAR(50) NULL,
  inventorynumber               VARCHAR(50) NULL,
  serialnumber                  VARCHAR(50) NULL,
  locationgroup                 VARCHAR(50) NULL,
  location                      VARCHAR(50) NULL,
  purchasedate                  DATE NULL,
  activationdate                DATE NULL,
  warrantydate                  DATE NULL,
  depreciationstartdate         DATE NULL,
  depreciationenddate           DATE NULL,
  depreciationpercent           DOUBLE NOT NULL DEFAULT 0,
  permanentvalue                DOUBLE NULL,
  depreciationtaxbasevalue      DOUBLE NULL,
  depreciationgroupid           BIGINT NOT NULL,
  depreciationaccountinggroupid BIGINT NOT NULL,
  PRIMARY KEY (productid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ------------------------------------------- sibling modules, read only here

-- Products currently charged to restaurant tables.
CREATE TABLE kasatableitem (
  kasatableitemid BIGINT NOT NULL AUTO_INCREMENT,
  productid       BIGINT NOT NULL,
  quantity        DOUBLE NOT NULL DEFAULT 0,
  PRIMARY KEY (kasatableitemid),
  KEY kasatableitem_product (productid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE accountnew (
  accountnewid BIGINT NOT NULL AUTO_INCREMENT,
  code         VARCHAR(20) NULL,
  name         VARCHAR(100) NULL,
  type         VARCHAR(20) NOT NULL DEFAULT '',
  PRIMARY KEY (accountnewid),
  KEY accountnew_type (type)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE preceptitem (
  preceptitemid BIGINT NOT NULL AUTO_INCREMENT,
  accountnewid  BIGINT NOT NULL,
  foreignid     BIGINT NOT NULL,
  PRIMARY KEY (preceptitemid),
  KEY preceptitem_foreign (foreignid, accountnewid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE currency (
  currencyid BIGINT NOT NULL AUTO_INCREMENT,
  code       VARCHAR(3) NOT NULL,
  name       VARCHAR(50) NULL,
  status     VARCHAR(8) NOT NULL DEFAULT 'standard',
  PRIMARY KEY (currencyid),
  UNIQUE KEY currency_code (code)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE exchangelist (
  exchangelistid BIGINT NOT NULL AUTO_INCREMENT,
  listtype       VARCHAR(20) NOT NULL DEFAULT '',
  listdate       DATE NULL,
  PRIMARY KEY (exchangelistid),
  KEY exchangelist_type (listtype)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE currencyexchange (
  currencyexchangeid BIGINT NOT NULL AUTO_INCREMENT,
  exchangelistid     BIGINT NOT NULL,
  code1              VARCHAR(3) NOT NULL,
  code2              VARCHAR(3) NOT NULL,
  code1amount        DOUBLE NOT NULL DEFAULT 1,
  code2amount        DOUBLE NOT NULL DEFAULT 1,
  PRIMARY KEY (currencyexchangeid),
  KEY currencyexchange_list (exchangelistid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ------------------------------------------------------ documents and stock

CREATE TABLE partner (
  partnerid BIGINT NOT NULL AUTO_INCREMENT,
  name      VARCHAR(100) NULL,
  city      VARCHAR(50) NULL,
  PRIMARY KEY (partnerid),
  KEY partner_name (name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- direction: 1 the lines enter stock, -1 they leave it. status 'p': posted,
-- counts in document stock. docreturn 'n': not a return.
CREATE TABLE document (
  documentid    BIGINT NOT NULL AUTO_INCREMENT,
  documentdate  DATE NOT NULL,
  documenttype  VARCHAR(2) NOT NULL,
  number        VARCHAR(30) NOT NULL,
  direction     INT NOT NULL DEFAULT 0,
  warehouseid   BIGINT NULL,
  inwarehouseid BIGINT NULL,
  status        VARCHAR(8) NOT NULL DEFAULT 'p',
  docreturn     CHAR(1) NOT NULL DEFAULT 'n',
  partnerid     BIGINT NULL,
  partnername   VARCHAR(100) NULL,
  PRIMARY KEY (documentid),
  KEY document_date_type (documentdate, documenttype),
  KEY document_type_date (documenttype, documentdate),
  KEY document_warehouse (warehouseid, documentdate),
  KEY document_inwarehouse (inwarehouseid),
  KEY document_partner (partnerid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE documentitem (
  documentitemid BIGINT NOT NULL AUTO_INCREMENT,
  documentid     BIGINT NOT NULL,
  productid      BIGINT NOT NULL,
  quantity       DOUBLE NOT NULL DEFAULT 0,
  price          DOUBLE NOT NULL DEFAULT 0,
  PRIMARY KEY (documentitemid),
  KEY documentitem_document (documentid),
  KEY documentitem_product (productid, documentid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Stock-card entries: what a document line brought into or took out of the
-- stock of one warehouse, in quantity and value.
CREATE TABLE docfinitem (
  docfinitemid BIGINT NOT NULL AUTO_INCREMENT,
  documentid   BIGINT NOT NULL,
  productid    BIGINT NOT NULL,
  warehouseid  BIGINT NOT NULL,
  inquantity   DOUBLE NOT NULL DEFAULT 0,
  outquantity  DOUBLE NOT NULL DEFAULT 0,
  debit        DOUBLE NOT NULL DEFAULT 0,
  credit       DOUBLE NOT NULL DEFAULT 0,
  price        DOUBLE NOT NULL DEFAULT 0,
  PRIMARY KEY (docfinitemid),
  KEY docfinitem_document (documentid),
  KEY docfinitem_product_warehouse (productid, warehouseid),
  KEY docfinitem_warehouse (warehouseid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ------------------------------------------------------- identifier locks

-- One row per kind of generated identifier. A save that gives out such
-- identifiers first raises the row's counter: the row lock makes other
-- workstations wait, and on a Galera cluster the write makes a concurrent
-- save on another node fail with a deadlock, to be retried.
CREATE TABLE identifierlock (
  name  VARCHAR(30) NOT NULL,
  value BIGINT NOT NULL DEFAULT 0,
  PRIMARY KEY (name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------- schema version

-- One row per schema version the database went through: the one it was
-- made with and every numbered step (db/migrations) applied since. The
-- program refuses a database whose highest version it does not know.
CREATE TABLE schemaversion (
  version  INT NOT NULL,
  applied  DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (version)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ------------------------------------------------------------ commit marks

-- The last write of each session, by a key the session made up: a write
-- whose commit answer was lost with the connection is looked up here on a
-- new session, so it is neither lost nor written twice. One row per
-- session, written only by it, so sessions never wait for each other here.
CREATE TABLE commitmark (
  writer  CHAR(36) NOT NULL,
  token   CHAR(36) NOT NULL,
  written TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (writer)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ------------------------------------------------------------ options store

-- Options kept in the database, by section and key; a missing key means the
-- option's default.
CREATE TABLE dbinifile (
  section VARCHAR(100) NOT NULL,
  name    VARCHAR(100) NOT NULL,
  value   TEXT NULL,
  PRIMARY KEY (section, name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
