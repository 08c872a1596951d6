#pragma once
// The product module's message table: every text the module shows, under its
// symbolic name. Slots ("%s") are filled with tarvex::Format.

#include <QString>

namespace products {

// Snap-in identity
inline const QString SNAPIN_NAME = QStringLiteral("Proizvodi");
inline const QString SNAPIN_DESCR = QStringLiteral("Upravljanje proizvodima");

// Product editor and data module
inline const QString PROD_NAME_CHAR_ERR = QStringLiteral(
    "Znakovi \" ' \", \" \\ \" i \" : \" nisu dozvoljeni u nazivu proizvoda! Morate ove znakove iz naziva proizvoda.");
inline const QString PROD_CODE_INVALIDE_ERR =
    QStringLiteral("Kod proizvoda je obavezan! Molimo definišite vrednost za polje Kod.");
inline const QString PROD_FOREI_NAME_INVALIDE_ERR =
    QStringLiteral("Strano ime je obavezno! Molimo definišite vrednost za polje Strano ime.");
inline const QString PROD_MANUF_NAME_INVALIDE_ERR =
    QStringLiteral("Ime proizvođača je obavezno! Molimo definišite vrednost za polje Ime proizvođača.");
inline const QString PROD_CAT_PR_INVALIDE_ERR = QStringLiteral(
    "Kategorija proizvoda je obavezna! Molimo definišite najmanje jednu kategoriju proizvoda.");
inline const QString PROD_CAT_PR_LOWEST_ERR = QStringLiteral("Samo najniži nivo kategorije je dozvoljen.");
inline const QString PROD_ACTIVE_INVALIDE_ERR = QStringLiteral(
    "Ne možete deaktivirati ovaj proizvod, jer su količine u magacinima različite od nule.");
inline const QString PROD_NAME_UNCHANGE_ERR = QStringLiteral(
    "Ime proizvoda je nepromenljivo jer je definisan PLU! Ne možete snimiti ovu promenu imena proizvoda.");
inline const QString PROD_TAX_UNCHANGE_ERR =
    QStringLiteral("Poreska stopa proizvoda je nepromenljiva jer je definisan PLU!");
inline const QString PROD_NOT_CHANGE_PLU_ERR = QStringLiteral(
    "Ne možete promeniti PLU proizvoda jer je ovaj proizvod trenutno zadužen na stolovima!");
inline const QString PROD_PLU_NOT_CNG_WRN =
    QStringLiteral("Nema raspoloživog PLU-a. Morate osloboditi najmanje jedan PLU.");
inline const QString PROD_ATTRIBUTE_VALUE_ERR = QStringLiteral("Već postoji ova vrednost atributa!");
inline const QString PROD_ADD_ATTRIBUTE_CNF = QStringLiteral("Da li želite da dodate još atributa?");
inline const QString PRODUCT_COPIED = QStringLiteral("Novi proizvod je kreiran.");
inline const QString PROD_DELETE_DOCUMENTS_ERR = QStringLiteral(
    "Proizvod \"%s\" se ne može obrisati jer ga navode proknjiženi dokumenti: %s.");
inline const QString PROD_DELETE_DRAFTS_ERR = QStringLiteral(
    "Proizvod \"%s\" se ne može obrisati jer ga navode dokumenti u pripremi: %s.");
inline const QString PROD_DELETE_RAW_ERR = QStringLiteral(
    "Proizvod \"%s\" se ne može obrisati jer je sastojak proizvoda: %s.");
inline const QString PROD_DELETE_CNF = QStringLiteral(
    "Obrisati proizvod \"%s\" zajedno sa njegovim detaljima, stanjima u magacinima, kategorijama, varijantama, "
    "rabatima, pakovanjima i radnim operacijama?");
inline const QString PROD_DELETE_STOCK_CNF = QStringLiteral(
    "Proizvod \"%s\" ima količine u magacinima različite od nule. Obrisati ga zajedno sa njegovim detaljima, "
    "stanjima u magacinima, kategorijama, varijantama, rabatima, pakovanjima i radnim operacijama?");
inline const QString PRODWARE_ADD_INF = QStringLiteral("Proizvod je dodat u podrazumevani magacin.");
inline const QString PRODWARE_EXIST_WRN = QStringLiteral("Proizvod već postoji u podrazumevanom magacinu.");
inline const QString PRICE_FORM_ERR = QStringLiteral("Greška u formuli");
inline const QString PROD_PRICE_LAB_CAP = QStringLiteral("Proizvod");

// Images and scanned documents
inline const QString IMG_DEL_CONF = QStringLiteral("Da li ste sigurni da želite da izbrišete sliku?");
inline const QString IMG_DIR_TITLE = QStringLiteral("Direktorijum slika");
inline const QString IMG_DIR_WRN = QStringLiteral(
    "Direktorijum slika ne postoji.\nDa li želite da ga program kreira?\n"
    "Ako kliknete Ne otvoriće se dijalog za izbor postojećeg direktorijuma.");
inline const QString SCAN_DOC_DEL_CONF = QStringLiteral("Da li ste sigurni da želite da izbrišete dokument?");
inline const QString SCAN_DOC_DIR_TITLE = QStringLiteral("Direktorijum skeniranih dokumenata");
inline const QString SCAN_DOC_DIR_WRN = QStringLiteral(
    "Direktorijum skeniranih dokumenata ne postoji.\nDa li želite da ga program kreira?\n"
    "Ako kliknete Ne otvoriće se dijalog za izbor postojećeg direktorijuma.");

// Options
inline const QString DEFAULT_EXCHANGE_LIST = QStringLiteral("Podraz. lista");

// Search criteria and list captions
inline const QString PROD_ACTIVE = QStringLiteral("Aktivan");
inline const QString PROD_GENERAL = QStringLiteral("Opšta pretraga");
inline const QString PROD_NAME = QStringLiteral("Ime");
inline const QString PROD_CODE = QStringLiteral("Kod");
inline const QString PROD_BARCODE = QStringLiteral("Barkod");
inline const QString PROD_FOREIGN_NAME = QStringLiteral("Strano ime");
inline const QString PROD_MANUF = QStringLiteral("Proizvođač");
inline const QString PROD_MANUF_CODE = QStringLiteral("Kod proizvođača");
inline const QString PROD_CATEGORY = QStringLiteral("Kategorija");
inline const QString PROD_CHARS = QStringLiteral("Karakteristike");
inline const QString PROD_TYPE = QStringLiteral("Tip");
inline const QString PROD_VAT = QStringLiteral("PDV(%)");
inline const QString PROD_WH = QStringLiteral("Magacin");
inline const QString PROD_PRICE = QStringLiteral("Cena");
inline const QString PROD_PRICE_VAT = QStringLiteral("Cena + PDV");

// Categories
inline const QString CAT_ROOT_CAPTION = QStringLiteral("Glavna kategorija");
inline const QString CAT_NO_CATEGORY = QStringLiteral("bez kategorije");
inline const QString CAT_NEW_TITLE = QStringLiteral("Nova kategorija");
inline const QString CAT_NEW_PROMT = QStringLiteral("Ime nove kategorije:");
inline const QString CAT_NEW_NAME = QStringLiteral("Nova kategorija");
inline const QString CAT_NONAME_ERR = QStringLiteral("Ime kategorije ne može biti prazno");
inline const QString CAT_DEL_CONF_FMT =
    QStringLiteral("Da li želite da izbrišete kategoriju \"%s\" i sve njene podkategorije?");
inline const QString CAT_MAX_ATTRIBUTE_ERR =
    QStringLiteral("Ne možete dodati atribut jer je već dostignut maksimalni broj atributa.");

// Deleting reference rows: the question, and the refusal naming what still
// needs the row (counts in words made by CountText).
inline const QString TAX_DELETE_CNF = QStringLiteral("Da li želite da izbrišete porez \"%s\"?");
inline const QString WAREHOUSE_DELETE_CNF = QStringLiteral("Da li želite da izbrišete magacin \"%s\"?");
inline const QString ATTRIBUTE_DELETE_CNF = QStringLiteral("Da li želite da izbrišete atribut \"%s\"?");
inline const QString ATTRIBUTE_VALUE_DELETE_CNF =
    QStringLiteral("Da li želite da izbrišete vrednost atributa \"%s\"?");
// "Porez "Oslobođeno" koriste 3 proizvoda."
inline const QString TAX_DELETE_USED_ERR = QStringLiteral("Porez \"%s\" %s.");
// "Magacin "Magacin reklamacija" ima 217 stavki zaliha i 21 dokument."
inline const QString WAREHOUSE_DELETE_HELD_ERR = QStringLiteral("Magacin \"%s\" ima %s.");
// "Atribut "Boja" ima 6 vrednosti, a koriste ga 3 proizvoda i 2 kategorije."
inline const QString ATTRIBUTE_DELETE_HAS_ERR = QStringLiteral("Atribut \"%s\" ima %s.");
inline const QString ATTRIBUTE_DELETE_USED_ERR = QStringLiteral("Atribut \"%s\" %s.");
inline const QString ATTRIBUTE_DELETE_BOTH_ERR = QStringLiteral("Atribut \"%s\" ima %s, a %s.");
inline const QString ATTRIBUTE_VALUE_DELETE_USED_ERR = QStringLiteral("Vrednost atributa \"%s\" %s.");

// Warehouses
inline const QString WAREHOUSE_NAME_LOC_WRN = QStringLiteral("Ne postoji magacin sa ovakvim nazivom.");
inline const QString WARE_ACTIVE_WRN = QStringLiteral(
    "Ne možete izvršiti ovu akciju dok je opcija \"Prikaži samo aktivne magacine\" izabrana!");

// Stock reports
inline const QString PROD_PREV_SITUATION = QStringLiteral("Prethodno stanje");
inline const QString PRINT_HEADER_FMT = QStringLiteral("Od datuma %s\r\nDo datuma %s");
inline const QString PRINT_HEADER_SHORT_FMT = QStringLiteral("Datum %s");
inline const QString PROD_INVEN_TOTAL_FMT = QStringLiteral("Ukupna vrednost: %s  Ukupna vrednost sa PDV-om: %s");
inline const QString PROD_WARE_TOTAL_FMT = QStringLiteral("Ukupna slobodna količina: %s");

} // namespace products
