// Where a cook finds each common ingredient in an Italian shop: our own list, singular and
// plural, without accents. Herbs count as "aromi", as the shops shelve them; tuna, beans and
// olives go to the pantry, as home recipes mostly mean them tinned or in jars.
#include "spesa/tabellareparti.h"

namespace Reparti {

namespace {

struct Elenco
{
    const char *reparto;
    const char *parole;
};

const Elenco Parole[] = {
    {"Frutta e verdura",
     "aglio agli cipolla cipolle cipollotto cipollotti scalogno scalogni porro porri carota "
     "carote sedano sedani patata patate pomodoro pomodori pomodorino pomodorini zucchina "
     "zucchine zucchino zucchini melanzana melanzane peperone peperoni insalata insalate lattuga "
     "lattughe rucola radicchio radicchi spinaci spinacio bietola bietole bieta biete cavolo "
     "cavoli cavolfiore cavolfiori broccolo broccoli verza verze cavolino cavolini finocchio "
     "finocchi carciofo carciofi asparago asparagi fagiolino fagiolini pisello piselli fava fave "
     "zucca zucche fungo funghi champignon porcino porcini cetriolo cetrioli ravanello ravanelli "
     "rapa rape barbabietola barbabietole cicoria cicorie scarola indivia catalogna puntarelle "
     "friarielli cime topinambur mela mele pera pere banana banane arancia arance limone limoni "
     "lime mandarino mandarini clementina clementine pompelmo pompelmi fragola fragole ciliegia "
     "ciliegie pesca pesche albicocca albicocche prugna prugne susina susine uva kiwi ananas "
     "melone meloni anguria angurie cocomero cocomeri fico fichi lampone lamponi mirtillo "
     "mirtilli mora more ribes avocado mango manghi papaya melograno melograni castagna castagne "
     "cachi caco cocco germogli songino valeriana crescione"},
    {"Pane e forno",
     "pane pani panino panini pancarre baguette focaccia focacce grissino grissini pangrattato "
     "crackers cracker biscotto biscotti savoiardo savoiardi piadina piadine tortilla tortillas "
     "croissant cornetto cornetti brioche crostino crostini taralli tarallo friselle fresella "
     "ciabatta michetta rosetta"},
    {"Latticini e uova",
     "latte burro panna yogurt uovo uova tuorlo tuorli albume albumi mozzarella mozzarelle "
     "parmigiano grana pecorino ricotta mascarpone stracchino gorgonzola fontina provola "
     "provolone scamorza taleggio asiago emmental emmentaler formaggio formaggi robiola "
     "crescenza burrata burrate stracciatella fiordilatte caprino feta besciamella "
     "philadelphia quartirolo caciocavallo montasio groviera gruviera brie camembert kefir"},
    {"Carne",
     "carne carni manzo vitello vitellone maiale suino pollo polli tacchino agnello abbacchio "
     "capretto coniglio salsiccia salsicce pancetta guanciale prosciutto prosciutti speck salame "
     "salami mortadella bresaola lardo wurstel cotechino zampone petto cosce coscia fusi fesa "
     "filetto filetti bistecca bistecche braciola braciole costina costine costata arrosto "
     "macinato macinata hamburger polpette scaloppine fettine fegato fegatini trippa anatra "
     "faraona quaglia quaglie lonza spezzatino ossobuco ossibuchi cappone cinghiale nduja "
     "coppa culatello"},
    {"Pesce",
     "pesce pesci merluzzo baccala stoccafisso salmone acciuga acciughe alice alici sardina "
     "sardine sarde sgombro sgombri orata orate branzino branzini spigola spigole gambero gamberi "
     "gamberetto gamberetti mazzancolle scampo scampi calamaro calamari seppia seppie polpo polpi "
     "moscardini totani cozza cozze vongola vongole telline ostrica ostriche capesante trota "
     "trote sogliola sogliole platessa nasello rombo cernia dentice ricciola triglia triglie "
     "aringa aringhe bottarga surimi"},
    {"Dispensa",
     "farina farine zucchero riso pasta spaghetti spaghettini penne pennette fusilli rigatoni "
     "tagliatelle lasagne linguine bucatini maccheroni orecchiette farfalle paccheri ditalini "
     "tubetti mezze conchiglie trofie pappardelle fettuccine tagliolini vermicelli capellini "
     "gnocchi couscous cuscus orzo farro quinoa polenta semola semolino fecola amido maizena "
     "lievito bicarbonato olio aceto olive oliva capperi cappero fagioli ceci lenticchie "
     "cicerchie lupini passata pelati concentrato polpa sugo tonno miele marmellata confettura "
     "cioccolato cacao nutella noci noce mandorle mandorla nocciole nocciola pinoli pistacchi "
     "arachidi uvetta datteri brodo dado dadi vanillina gelatina colla senape maionese ketchup "
     "soia sciroppo cereali avena fiocchi crusca sesamo girasole zuccherini canditi ammoniaca "
     "cremor tahina agar"},
    {"Surgelati", "surgelato surgelati surgelata surgelate gelato gelati ghiaccio bastoncini"},
    {"Bevande",
     "acqua vino vini birra birre spumante prosecco liquore liquori rum brandy cognac grappa "
     "marsala vermut vermouth limoncello amaretto succo succhi aranciata caffe te the tisana "
     "bibita bibite gin vodka whisky sidro champagne cointreau"},
    {"Spezie e aromi",
     "sale pepe peperoncino peperoncini cannella chiodi zafferano curry paprica paprika cumino "
     "curcuma zenzero coriandolo cardamomo anice origano alloro basilico prezzemolo rosmarino "
     "salvia menta timo maggiorana aneto dragoncello santoreggia vaniglia ginepro erbe spezie "
     "nepitella finocchietto cerfoglio spezia"},
};

// Two words that mean something else than their first one.
const Elenco Coppie[] = {
    {"Spezie e aromi", "noce moscata|erba cipollina|semi finocchio|pepe nero|bacche ginepro"},
    {"Dispensa", "uva passa|uva sultanina|latte condensato|latte cocco|pomodori secchi|"
                 "funghi secchi|zucchero velo|lievito birra"},
    // Kept in the shop's fridge beside the cheese.
    {"Latticini e uova", "pasta sfoglia|pasta brisee|pasta frolla|pasta fresca"},
    {"Bevande", "latte mandorla|latte soia|latte avena"},
};

// Words that decide whatever the others say: how the thing is kept.
const Elenco Prevalgono[] = {
    {"Surgelati", "surgelato surgelati surgelata surgelate congelato congelati congelata "
                  "congelate"},
    {"Dispensa", "pelati pelato sottolio sottaceto sottaceti scatola scatolame barattolo "
                 "vasetto passata"},
};

} // namespace

const Tabella &tabella()
{
    static const Tabella t = [] {
        Tabella t;
        for (const Elenco &e : Parole)
            for (const QString &p : QString::fromLatin1(e.parole).split(u' ', Qt::SkipEmptyParts)) {
                if (t.parole.contains(p))
                    t.doppie << p;
                t.parole.insert(p, QString::fromUtf8(e.reparto));
            }
        for (const Elenco &e : Coppie)
            for (const QString &p : QString::fromLatin1(e.parole).split(u'|', Qt::SkipEmptyParts))
                t.coppie.insert(p, QString::fromUtf8(e.reparto));
        for (const Elenco &e : Prevalgono)
            for (const QString &p : QString::fromLatin1(e.parole).split(u' ', Qt::SkipEmptyParts))
                t.prevalgono.insert(p, QString::fromUtf8(e.reparto));
        return t;
    }();
    return t;
}

} // namespace Reparti
