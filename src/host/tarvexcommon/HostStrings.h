#pragma once
// The host's own message and caption texts (Serbian, Latin script). Texts with
// a slot take their argument through QString::arg ("%1").

#include <QString>

namespace tarvex {

inline const QString CMN_FIELD_REQUIRED_ERR = QStringLiteral("Polje \"%1\" mora biti popunjeno.");
inline const QString CMN_FIELD_INVALIDE_ERR = QStringLiteral("Polje \"%1\" ima neispravnu vrednost.");
inline const QString CMN_RELATIONAL_INTEGRITY_ERR =
    QStringLiteral("Zapis se ne može obrisati jer se na njega pozivaju drugi podaci.");
inline const QString CMN_SAVE_CHANGES_PROMT = QStringLiteral("Sačuvati izmene?");
inline const QString CMN_NO_MODULE = QStringLiteral("Modul \"%1\" nije dostupan.");
inline const QString CMN_COPY_STR = QStringLiteral("Kopija");
inline const QString CMN_CAPTION_CANCEL = QStringLiteral("Odustani");
inline const QString CMN_CAPTION_CLOSE = QStringLiteral("Zatvori");

inline const QString CMN_MOD_PRODUCT_NAME = QStringLiteral("Proizvodi");
inline const QString CMN_MOD_DOCUMENT_NAME = QStringLiteral("Dokumenti");
inline const QString CMN_MOD_PRODUCTION_NAME = QStringLiteral("Proizvodnja");
inline const QString CMN_MOD_SECURITY_NAME = QStringLiteral("Sigurnost");

inline const QString CMN_PRINT_WIZ_NAME = QStringLiteral("Štampa");
inline const QString CMN_PROD_INVENTORY_WIZ_NAME = QStringLiteral("Deklaracije");
inline const QString CMN_KEPU_WIZ_NAME = QStringLiteral("Knjiga evidencije prometa");

inline const QString ACTIVE_Y_CAP = QStringLiteral("Aktivan");
inline const QString ACTIVE_N_CAP = QStringLiteral("Neaktivan");
inline const QString YES_CAP = QStringLiteral("Da");
inline const QString NO_CAP = QStringLiteral("Ne");

// Product types, warehouse price types and stock valuation methods (Captions.h).
inline const QString PROD_TYPE_GOODS_CAP = QStringLiteral("Roba");
inline const QString PROD_TYPE_SERVICE_CAP = QStringLiteral("Usluga");
inline const QString PROD_TYPE_PRODUCT_CAP = QStringLiteral("Proizvod");
inline const QString PROD_TYPE_SEMI_PRODUCT_CAP = QStringLiteral("Poluproizvod");
inline const QString PROD_TYPE_FIXED_ASSET_CAP = QStringLiteral("Osnovno sredstvo");
inline const QString PRICE_RETAIL_CAP = QStringLiteral("Maloprodajna cena");
inline const QString PRICE_WHOLESALE_CAP = QStringLiteral("Veleprodajna cena");
inline const QString METH_AVR_IN_PRICE_CAPT = QStringLiteral("Prosečna nabavna cena");
inline const QString METH_OUT_PRICE_CAPT = QStringLiteral("Prodajna cena");
inline const QString METH_PLAN_PRICE_CAPT = QStringLiteral("Planska cena");

} // namespace tarvex
