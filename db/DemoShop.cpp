#include "DemoShop.h"

namespace tarvex::demo {

const char* unitName(DemoUnit unit)
{
    switch (unit) {
    case DemoUnit::Piece: return "kom";
    case DemoUnit::Kilogram: return "kg";
    case DemoUnit::Litre: return "l";
    case DemoUnit::Metre: return "m";
    case DemoUnit::Pack: return "pak";
    }
    return "kom";
}

bool isFractional(DemoUnit unit)
{
    return unit == DemoUnit::Kilogram || unit == DemoUnit::Metre;
}

// Brands are invented; they only have to sound like a Serbian shop's shelf.
const std::vector<TopSpec>& shopCategories()
{
    using U = DemoUnit;
    static const std::vector<TopSpec> tops = {
        {"Prehrana", "PH", "Hrana", {
            {"Mlečni proizvodi", "Mleko i jogurt", 30, 'r', 10, U::Piece, 89, 289,
             {"Mleko", "Jogurt", "Kiselo mleko", "Kefir", "Sveže mleko", "Čokoladno mleko"},
             {"2,8% m.m.", "1,5% m.m.", "3,2% m.m.", "bez laktoze", "probiotik", "domaće", "light"},
             {"Ravnica", "Zlatarka", "Šumadinka", "Banatski san", "Moja farma", "Dunavka", "Sremac"},
             {"1 l", "0,5 l", "1,5 l", "180 g", "400 g"}, nullptr, false},
            {"Mlečni proizvodi", "Sirevi", 20, 'r', 10, U::Kilogram, 690, 2490,
             {"Sir", "Kajmak", "Feta sir", "Trapist", "Gauda", "Ementaler", "Mladi sir"},
             {"punomasni", "polumasni", "dimljeni", "sa začinima", "zreli", "u kriškama"},
             {"Zlatarka", "Ravnica", "Pešterac", "Moja farma", "Homoljac", "Sjenički"},
             {}, nullptr, false},
            {"Slatkiši i grickalice", "Čokolade", 25, 'r', 20, U::Piece, 79, 899,
             {"Čokolada", "Čokoladni bar", "Bombonjera", "Čokoladni namaz", "Praline"},
             {"mlečna", "crna 70%", "sa lešnikom", "sa keksom", "bela", "sa jagodom", "sa bademom"},
             {"Slatka kuća", "Đurđevak", "Bajka", "Kakao raj", "Zlatna kap", "Medeno"},
             {"80 g", "100 g", "200 g", "300 g", "400 g"}, nullptr, false},
            {"Slatkiši i grickalice", "Keks i vafli", 20, 'r', 20, U::Piece, 59, 399,
             {"Keks", "Vafl", "Kroasan", "Biskvit", "Štanglica", "Medenjaci"},
             {"sa kakaom", "sa vanilom", "integralni", "sa medom", "punjeni", "posni"},
             {"Slatka kuća", "Bajka", "Pekarski dvor", "Žitko", "Medeno", "Jelica"},
             {"150 g", "200 g", "250 g", "500 g"}, nullptr, false},
            {"Slatkiši i grickalice", "Grickalice", 20, 'r', 20, U::Piece, 49, 299,
             {"Čips", "Kikiriki flips", "Slani štapići", "Kokice", "Pereci", "Krekeri"},
             {"slani", "paprika", "sa sirom", "pavlaka i luk", "ljuti", "bez soli"},
             {"Krcko", "Zlatno zrno", "Grickalo", "Žitko", "Hrskavac"},
             {"40 g", "90 g", "150 g", "250 g"}, nullptr, false},
            {"Osnovne namirnice", "Brašno i šećer", 15, 'r', 10, U::Piece, 69, 349,
             {"Brašno T-400", "Brašno T-500", "Šećer kristal", "Šećer u prahu", "Griz", "Kukuruzno brašno"},
             {"tip 1", "za kolače", "za hleb", "domaće", "premium"},
             {"Žitopromet", "Banatski san", "Ravnica", "Mlin Bačka", "Zlatno zrno"},
             {"1 kg", "2 kg", "5 kg", "500 g"}, nullptr, false},
            {"Osnovne namirnice", "Testenine i pirinač", 15, 'r', 20, U::Piece, 79, 399,
             {"Špagete", "Makarone", "Rezanci", "Pirinač", "Fusili", "Tarana"},
             {"integralni", "jaje", "durum", "dugo zrno", "okrugli", "domaći"},
             {"Žitko", "Pastarela", "Mlin Bačka", "Zlatno zrno", "Banatski san"},
             {"400 g", "500 g", "1 kg"}, nullptr, false},
            {"Osnovne namirnice", "Ulja i sirće", 12, 'r', 20, U::Litre, 149, 1490,
             {"Suncokretovo ulje", "Maslinovo ulje", "Alkoholno sirće", "Jabukovo sirće", "Bundevino ulje"},
             {"rafinisano", "ekstra devičansko", "hladno ceđeno", "9%", "domaće"},
             {"Dunavka", "Ravnica", "Sremac", "Zlatna kap", "Banatski san"},
             {"1 l", "0,5 l", "2 l", "5 l"}, nullptr, false},
            {"Osnovne namirnice", "Začini", 12, 'r', 20, U::Piece, 39, 399,
             {"Aleva paprika", "Biber mleveni", "Đumbir mleveni", "Začinska mešavina", "Origano", "Bosiljak",
              "Cimet"},
             {"slatka", "ljuta", "dimljena", "u zrnu", "sušeni", "organski"},
             {"Začinko", "Bašta", "Kesa zdravlja", "Aroma", "Šumadinka"},
             {"20 g", "50 g", "100 g", "250 g"}, nullptr, false},
            {"Meso i delikatesi", "Suhomesnato", 15, 'r', 20, U::Kilogram, 790, 3490,
             {"Čajna kobasica", "Pršuta", "Kulen", "Slanina", "Šunka", "Sudžuk", "Pečenica"},
             {"goveđa", "svinjska", "dimljena", "domaća", "sremska", "pileća"},
             {"Zlatiborac", "Sremac", "Homoljac", "Moravka", "Mesara Đokić"},
             {}, nullptr, false},
            {"Meso i delikatesi", "Konzerve", 12, 'r', 20, U::Piece, 89, 599,
             {"Pašteta", "Tunjevina", "Sardina", "Mesni narezak", "Riblja pašteta", "Pasulj prebranac"},
             {"jetrena", "pileća", "u ulju", "u paradajz sosu", "sa povrćem", "ljuta"},
             {"Morava", "Đerdap", "Jadranka", "Sremac", "Moravka"},
             {"50 g", "100 g", "150 g", "300 g"}, nullptr, false},
            {"Domaća pekara", "Hleb i peciva", 6, 'p', 10, U::Piece, 39, 349,
             {"Hleb beli", "Hleb crni", "Kifla", "Burek", "Pogača", "Đevrek", "Štrudla"},
             {"sa sirom", "sa mesom", "sa makom", "sa susamom", "integralni", "sa višnjom"},
             {"Naša pekara"},
             {"100 g", "500 g", "1 kg"}, nullptr, false},
        }},
        {"Pića", "PI", "Pića", {
            {"Bezalkoholna pića", "Sokovi", 20, 'r', 20, U::Litre, 89, 349,
             {"Sok od jabuke", "Sok od narandže", "Nektar od breskve", "Ledeni čaj", "Limunada", "Sok od višnje"},
             {"100%", "bez šećera", "sa pulpom", "negazirani", "ceđeni", "mešano voće"},
             {"Voćko", "Bašta", "Zlatna kap", "Fruktal", "Šumadinka", "Vranjanka"},
             {"0,2 l", "0,33 l", "1 l", "1,5 l", "2 l"}, nullptr, false},
            {"Bezalkoholna pića", "Voda", 12, 'r', 20, U::Litre, 39, 149,
             {"Mineralna voda", "Negazirana voda", "Gazirana voda", "Izvorska voda"},
             {"blago gazirana", "sa limunom", "prirodna", "alkalna"},
             {"Vrelo", "Kraljevica", "Bukovička", "Rudnička", "Žuborka"},
             {"0,5 l", "0,75 l", "1,5 l", "6 l"}, nullptr, false},
            {"Alkoholna pića", "Pivo", 15, 'r', 20, U::Litre, 79, 299,
             {"Pivo svetlo", "Pivo tamno", "Pivo nefiltrirano", "Pivo pšenično", "Radler"},
             {"limenka", "staklo", "povratna flaša", "bezalkoholno", "limun"},
             {"Dunavsko", "Pančevac", "Zaječarac", "Bački", "Čačanski"},
             {"0,33 l", "0,5 l", "2 l"}, nullptr, false},
            {"Alkoholna pića", "Vino", 12, 'r', 20, U::Litre, 349, 2990,
             {"Vino belo", "Vino crno", "Rose vino", "Penušavo vino", "Bermet"},
             {"suvo", "polusuvo", "slatko", "barik", "kupaža", "Tamjanika", "Prokupac"},
             {"Vinarija Oplenac", "Fruškogorac", "Župsko", "Negotinsko", "Vršačko"},
             {"0,75 l", "1 l", "0,187 l"}, nullptr, false},
            {"Alkoholna pića", "Rakija", 10, 'r', 20, U::Litre, 690, 4990,
             {"Šljivovica", "Lozovača", "Kajsijevača", "Viljamovka", "Dunjevača", "Medovača"},
             {"stara", "prepečenica", "odležala 5 godina", "odležala 12 godina", "domaća"},
             {"Podrumi Rtanj", "Zlatno brdo", "Šumadinka", "Čačanska", "Kraljevo podrum"},
             {"0,7 l", "0,5 l", "1 l"}, nullptr, false},
            {"Topli napici", "Kafa i čaj", 12, 'r', 20, U::Piece, 99, 1290,
             {"Kafa mlevena", "Espreso zrno", "Instant kafa", "Čaj od nane", "Čaj kamilica", "Kakao"},
             {"klasik", "bez kofeina", "arabika", "filter", "voćni", "organski"},
             {"Zrno", "Jutro", "Bašta", "Aroma", "Kafeterija"},
             {"100 g", "200 g", "500 g", "1 kg", "20 kesica"}, nullptr, false},
        }},
        {"Kozmetika i higijena", "KH", "Kozmetika", {
            {"Nega tela", "Šamponi", 12, 'r', 20, U::Piece, 149, 799,
             {"Šampon", "Regenerator", "Balzam za kosu", "Maska za kosu"},
             {"za suvu kosu", "protiv peruti", "za masnu kosu", "sa kamilicom", "dečji", "za farbanu kosu"},
             {"Lavanda", "Nežnost", "Svežina", "Biljana", "Sjaj"},
             {"250 ml", "400 ml", "750 ml"}, nullptr, false},
            {"Nega tela", "Sapuni i gelovi", 12, 'r', 20, U::Piece, 69, 549,
             {"Sapun", "Tečni sapun", "Gel za tuširanje", "Pena za kupanje"},
             {"sa aloja verom", "antibakterijski", "sa maslinom", "ruža", "za osetljivu kožu"},
             {"Lavanda", "Nežnost", "Svežina", "Biljana", "Sjaj"},
             {"100 g", "250 ml", "500 ml", "1 l"}, nullptr, false},
            {"Nega tela", "Oralna higijena", 10, 'r', 20, U::Piece, 99, 699,
             {"Pasta za zube", "Četkica za zube", "Konac za zube", "Tečnost za ispiranje usta"},
             {"izbeljivanje", "osetljivi zubi", "meka", "srednja", "dečja", "biljna"},
             {"Osmeh", "Beli zub", "Svežina", "Dentalija"},
             {"75 ml", "125 ml", "500 ml", "1 kom", "2 kom"}, nullptr, false},
            {"Papirna galanterija", "Papirni proizvodi", 10, 'r', 20, U::Pack, 99, 899,
             {"Toalet papir", "Papirni ubrusi", "Maramice", "Vlažne maramice", "Salvete"},
             {"troslojni", "dvoslojni", "sa mirisom", "bez mirisa", "dečje"},
             {"Mekoća", "Bela rola", "Nežnost", "Papirko"},
             {"4 role", "8 rola", "10 kom", "72 kom", "100 kom"}, nullptr, false},
        }},
        {"Kućna hemija", "HE", "Kućna hemija", {
            {"Sredstva za pranje", "Deterdženti", 15, 'r', 20, U::Piece, 199, 2490,
             {"Deterdžent za veš", "Omekšivač", "Deterdžent za sudove", "Tablete za mašinu za sudove",
              "Gel za veš"},
             {"za bele stvari", "za šarene stvari", "limun", "planinska svežina", "sensitive", "ekstra"},
             {"Belina", "Čisto", "Svežina", "Pena", "Blistav"},
             {"500 ml", "1 l", "3 kg", "6 kg", "30 kom"}, nullptr, false},
            {"Sredstva za čišćenje", "Sredstva za čišćenje", 12, 'r', 20, U::Piece, 99, 799,
             {"Sredstvo za staklo", "Sredstvo za kupatilo", "Izbeljivač", "Osveživač vazduha",
              "Odmašćivač"},
             {"sa alkoholom", "lavanda", "protiv kamenca", "univerzalni", "sprej"},
             {"Belina", "Čisto", "Blistav", "Kapljica"},
             {"500 ml", "750 ml", "1 l"}, nullptr, false},
        }},
        {"Alati i gvožđarija", "AL", "Alati", {
            {"Ručni alat", "Odvijači i ključevi", 18, 'r', 20, U::Piece, 199, 3490,
             {"Odvijač krstasti", "Odvijač pljosnati", "Ključ viljuškasti", "Ključ okasti", "Kombinovana klešta",
              "Set odvijača", "Imbus ključ"},
             {"PH1", "PH2", "6 mm", "10 mm", "13 mm", "17 mm", "izolovani", "hrom-vanadijum"},
             {"Majstor", "Alatnica", "Čelik Kraljevo", "Gvozden", "Šrafko"},
             {}, "RA", false},
            {"Ručni alat", "Čekići i testere", 12, 'r', 20, U::Piece, 349, 3990,
             {"Čekić", "Testera za drvo", "Ručna testera", "Sekira", "Macola", "Šestar"},
             {"300 g", "500 g", "1000 g", "fiberglas drška", "drvena drška"},
             {"Majstor", "Alatnica", "Čelik Kraljevo", "Gvozden"},
             {}, "CT", false},
            {"Električni alat", "Bušilice i brusilice", 12, 'r', 20, U::Piece, 2990, 24990,
             {"Bušilica udarna", "Akumulatorska bušilica", "Brusilica ugaona", "Ubodna testera",
              "Elektro odvijač", "Kružna testera"},
             {"500 W", "750 W", "1010 W", "18 V", "12 V", "sa koferom", "2 baterije"},
             {"Majstor", "Snaga", "Elektromotor Niš", "Volta", "Turbina"},
             {}, "EA", true},
            {"Električni alat", "Pribor za alat", 15, 'r', 20, U::Piece, 49, 1990,
             {"Burgija za metal", "Burgija za beton", "Rezna ploča", "Brusni papir", "Bit nastavak",
              "Lamelarni disk"},
             {"4 mm", "6 mm", "8 mm", "10 mm", "115 mm", "125 mm", "P80", "P120"},
             {"Majstor", "Alatnica", "Snaga", "Gvozden"},
             {"1 kom", "5 kom", "10 kom"}, "PB", false},
            {"Okov i potrošni materijal", "Šrafovi i ekseri", 15, 'r', 20, U::Kilogram, 290, 1490,
             {"Šraf za drvo", "Ekser", "Tipl", "Podloška", "Navrtka", "Zavrtanj"},
             {"3x30", "4x40", "5x60", "6x80", "M6", "M8", "M10", "pocinkovan"},
             {"Šrafko", "Gvozden", "Čelik Kraljevo", "Okovi Valjevo"},
             {}, nullptr, false},
            {"Okov i potrošni materijal", "Žica i lanci", 8, 'r', 20, U::Metre, 49, 990,
             {"Žica pocinkovana", "Lanac", "Sajla", "Bodljikava žica", "Plastificirana žica"},
             {"1,5 mm", "2 mm", "3 mm", "5 mm", "8 mm"},
             {"Gvozden", "Žičara Smederevo", "Okovi Valjevo"},
             {}, nullptr, false},
        }},
        {"Elektro materijal", "EL", "Elektro", {
            {"Rasveta", "Sijalice", 12, 'r', 20, U::Piece, 99, 1290,
             {"LED sijalica", "Štedljiva sijalica", "Halogena sijalica", "LED traka", "Sijalica sveća"},
             {"E27 9 W", "E27 12 W", "E14 5 W", "GU10 6 W", "topla bela", "hladna bela"},
             {"Svetlost", "Volta", "Iskra", "Luminar"},
             {"1 kom", "3 kom", "5 m"}, nullptr, false},
            {"Rasveta", "Svetiljke", 8, 'r', 20, U::Piece, 990, 14990,
             {"Plafonjera", "Zidna lampa", "Stona lampa", "Podna lampa", "Reflektor LED"},
             {"bela", "crna", "hrom", "drvo", "sa senzorom", "IP65"},
             {"Svetlost", "Luminar", "Iskra", "Volta"},
             {}, "SV", true},
            {"Instalacioni materijal", "Kablovi", 10, 'r', 20, U::Metre, 49, 690,
             {"Kabl PP-Y", "Kabl PP/L", "Kabl LiYY", "Gajtan", "Koaksijalni kabl"},
             {"2x1,5", "3x1,5", "3x2,5", "5x2,5", "beli", "crni"},
             {"Kablovi Jagodina", "Provodnik", "Volta"},
             {}, nullptr, false},
            {"Instalacioni materijal", "Utičnice i prekidači", 12, 'r', 20, U::Piece, 149, 1990,
             {"Utičnica", "Prekidač", "Razvodnik", "Produžni kabl", "Naizmenični prekidač"},
             {"jednostruka", "dvostruka", "sa poklopcem", "3 mesta", "5 mesta", "sa prekidačem"},
             {"Iskra", "Volta", "Provodnik", "Elektro Zaječar"},
             {"1,5 m", "3 m", "5 m"}, "UP", false},
        }},
        {"Kancelarija i škola", "KA", "Kancelarija", {
            {"Papir i sveske", "Sveske i blokovi", 12, 'r', 20, U::Piece, 49, 599,
             {"Sveska", "Blok", "Fascikla", "Registrator", "Papir za štampač"},
             {"A4 kockice", "A4 linije", "A5 linije", "tvrdi povez", "spiralna", "80 g/m²"},
             {"Pisar", "Školarac", "Đak", "Biro"},
             {"1 kom", "5 kom", "500 listova"}, nullptr, false},
            {"Papir i sveske", "Pribor za pisanje", 12, 'r', 20, U::Piece, 29, 899,
             {"Hemijska olovka", "Grafitna olovka", "Marker", "Flomasteri", "Gumica", "Zarezač"},
             {"plava", "crna", "crvena", "HB", "2B", "12 boja", "24 boje"},
             {"Pisar", "Školarac", "Đak", "Biro"},
             {"1 kom", "10 kom", "set"}, nullptr, false},
            {"Knjige", "Knjige", 8, 'r', 10, U::Piece, 590, 2990,
             {"Roman", "Rečnik", "Kuvar", "Atlas", "Zbirka zadataka", "Bojanka"},
             {"srpsko-engleski", "domaća kuhinja", "za osnovnu školu", "za decu", "ilustrovani"},
             {"Izdavač Sloboda", "Knjigograd", "Prosveta Niš", "Đačko doba"},
             {}, nullptr, false},
        }},
        {"Usluge", "US", "Usluge", {
            {"Usluge prodavnice", "Dostava i montaža", 5, 'u', 20, U::Piece, 300, 5000,
             {"Dostava", "Montaža", "Servis alata", "Iznajmljivanje", "Pakovanje poklona", "Sečenje po meri"},
             {"u gradu", "van grada", "po satu", "ekspres", "standard"},
             {"Naša radnja"},
             {}, nullptr, false},
            {"Usluge prodavnice", "Finansijske usluge", 2, 'u', 0, U::Piece, 100, 2000,
             {"Provizija za plaćanje računa", "Osiguranje robe", "Produžena garancija"},
             {"12 meseci", "24 meseca", "po uplati"},
             {"Naša radnja"},
             {}, nullptr, false},
        }},
        {"Akcije", "AK", "Akcije", {
            {"Sezonska ponuda", "Letnja akcija", 0, 'r', 20, U::Piece, 0, 0, {}, {}, {}, {}, nullptr, false},
            {"Sezonska ponuda", "Novogodišnja ponuda", 0, 'r', 20, U::Piece, 0, 0, {}, {}, {}, {}, nullptr, false},
            {"Sezonska ponuda", "Povratak u školu", 0, 'r', 20, U::Piece, 0, 0, {}, {}, {}, {}, nullptr, false},
            {"Izdvojeno", "Najprodavanije", 0, 'r', 20, U::Piece, 0, 0, {}, {}, {}, {}, nullptr, false},
        }},
    };
    return tops;
}

const std::vector<WarehouseSpec>& shopWarehouses()
{
    using R = WarehouseRole;
    static const std::vector<WarehouseSpec> list = {
        {1, "Centralni magacin", "VP01", R::Central, 'v', "Beograd", "11080", "Batajnički drum 23", true, true},
        {2, "Prodavnica Knez Mihailova", "MP01", R::Retail, 'm', "Beograd", "11000", "Knez Mihailova 12", true, false},
        {3, "Prodavnica Novi Sad centar", "MP03", R::Retail, 'm', "Novi Sad", "21000", "Zmaj Jovina 8", true, false},
        {4, "Prodavnica Vračar", "MP02", R::Retail, 'm', "Beograd", "11000", "Njegoševa 41", true, false},
        {5, "Prodavnica Niš centar", "MP07", R::Retail, 'm', "Niš", "18000", "Obrenovićeva 30", true, false},
        {6, "Prodavnica Kragujevac", "MP06", R::Retail, 'm', "Kragujevac", "34000", "Kralja Petra I 15", true,
         false},
        {7, "Prodavnica Subotica", "MP04", R::Retail, 'm', "Subotica", "24000", "Korzo 4", true, false},
        {8, "Rezervacije Beograd", "RZ01", R::Reserve, 'v', "Beograd", "11080", "Batajnički drum 23", true, false},
        {9, "Rezervacije Novi Sad", "RZ02", R::Reserve, 'v', "Novi Sad", "21000", "Temerinski put 50", true, false},
        {10, "Prodavnica Čačak", "MP05", R::Retail, 'm', "Čačak", "32000", "Gospodska 7", true, false},
        {11, "Prodavnica Niš Medijana", "MP08", R::Retail, 'm', "Niš", "18000", "Bulevar Medijana 21", true, false},
        {12, "Rezervacije Niš", "RZ03", R::Reserve, 'v', "Niš", "18000", "Bulevar 12. februar 88", true, false},
        {13, "Rezervacije web prodaja", "RZ04", R::Reserve, 'v', "Beograd", "11080", "Batajnički drum 23", true,
         false},
        {14, "Rezervacije B2B", "RZ05", R::Reserve, 'v', "Beograd", "11080", "Batajnički drum 23", true, true},
        {15, "Prodavnica Šabac", "MP09", R::Retail, 'm', "Šabac", "15000", "Gospodar Jevremova 18", true, false},
        {16, "Prodavnica Zrenjanin", "MP10", R::Retail, 'm', "Zrenjanin", "23000", "Kralja Aleksandra 9", true,
         false},
        {17, "Magacin reklamacija", "RK01", R::Other, 'v', "Beograd", "11080", "Batajnički drum 23", true, false},
        {18, "Prodavnica Kraljevo", "MP11", R::Retail, 'm', "Kraljevo", "36000", "Omladinska 25", true, false},
        {19, "Prodavnica Užice", "MP12", R::Retail, 'm', "Užice", "31000", "Dimitrija Tucovića 52", true, false},
        {20, "Veleprodaja Novi Sad", "VP02", R::Wholesale, 'v', "Novi Sad", "21000", "Temerinski put 50", true,
         true},
        {21, "Magacin Leskovac", "VP04", R::Wholesale, 'v', "Leskovac", "16000", "Južnomoravska 11", true, false},
        {22, "Prodavnica Valjevo", "MP13", R::Retail, 'm', "Valjevo", "14000", "Karađorđeva 66", true, false},
        {23, "Veleprodaja Niš", "VP03", R::Wholesale, 'v', "Niš", "18000", "Bulevar 12. februar 88", true, true},
        {24, "Prodavnica Pančevo (zatvorena)", "MP14", R::Other, 'm', "Pančevo", "26000", "Njegoševa 2", false,
         false},
        {25, "Magacin Krnjača (zatvoren)", "VP05", R::Other, 'v', "Beograd", "11210", "Zrenjaninski put 110", false,
         false},
    };
    return list;
}

const std::vector<CountrySpec>& countries()
{
    static const std::vector<CountrySpec> list = {
        {"Srbija", "860", 60}, {"Nemačka", "400", 8}, {"Italija", "800", 6}, {"Hrvatska", "385", 5},
        {"Slovenija", "383", 5}, {"Mađarska", "599", 4}, {"Poljska", "590", 3}, {"Turska", "869", 3},
        {"Kina", "690", 4}, {"Austrija", "900", 2},
    };
    return list;
}

const std::vector<CitySpec>& cities()
{
    static const std::vector<CitySpec> list = {
        {"Beograd", "11000"}, {"Novi Sad", "21000"}, {"Niš", "18000"}, {"Kragujevac", "34000"},
        {"Subotica", "24000"}, {"Čačak", "32000"}, {"Kraljevo", "36000"}, {"Šabac", "15000"},
        {"Zrenjanin", "23000"}, {"Pančevo", "26000"}, {"Valjevo", "14000"}, {"Leskovac", "16000"},
        {"Užice", "31000"}, {"Smederevo", "11300"}, {"Sombor", "25000"}, {"Vranje", "17500"},
        {"Požarevac", "12000"}, {"Zaječar", "19000"}, {"Kruševac", "37000"}, {"Jagodina", "35000"},
        {"Novi Pazar", "36300"}, {"Sremska Mitrovica", "22000"}, {"Loznica", "15300"}, {"Bor", "19210"},
    };
    return list;
}

const std::vector<const char*>& surnames()
{
    static const std::vector<const char*> list = {
        "Petrović", "Jovanović", "Nikolić", "Marković", "Đorđević", "Stojanović", "Ilić", "Stanković",
        "Pavlović", "Milošević", "Kovačević", "Živković", "Todorović", "Savić", "Ćirić", "Lazić", "Popović",
        "Mitić", "Radovanović", "Šarić", "Đukić", "Vasić", "Tomić", "Obradović", "Filipović", "Žarković",
        "Knežević", "Milenković", "Janković", "Bošković",
    };
    return list;
}

const std::vector<const char*>& firstNames()
{
    static const std::vector<const char*> list = {
        "Marko", "Milica", "Nikola", "Jelena", "Stefan", "Ana", "Đorđe", "Jovana", "Luka", "Tijana", "Miloš",
        "Ivana", "Aleksandar", "Maja", "Dušan", "Snežana", "Žarko", "Kristina", "Vuk", "Teodora", "Nemanja",
        "Katarina", "Uroš", "Dragana",
    };
    return list;
}

const std::vector<const char*>& productLines()
{
    static const std::vector<const char*> list = {
        "Classic", "Premium", "Extra", "Gold", "Bio", "Family", "Mini", "Maxi", "Plus", "Lux", "Eko", "Super",
        "Original", "Selekcija", "Tradicija", "Domaćinski", "Fino", "Special", "Junior", "Profi", "Zlatni", "Vitalis",
        "Prestiž", "Start", "Komfor",
    };
    return list;
}

const std::vector<const char*>& firmWords()
{
    static const std::vector<const char*> list = {
        "Agro", "Elektro", "Metal", "Promet", "Komerc", "Market", "Trade", "Gradnja", "Prehrana", "Mlekara",
        "Pekara", "Transport", "Dekor", "Higijena", "Alat", "Drvo", "Papir", "Vino", "Voće", "Kozmetika",
    };
    return list;
}

const std::vector<const char*>& firmForms()
{
    static const std::vector<const char*> list = {
        "%1 d.o.o.", "%1 DOO", "STR %1", "%1 a.d.", "TR %1", "SZR %1", "%1 i sinovi d.o.o.", "PR %1",
    };
    return list;
}

} // namespace tarvex::demo
