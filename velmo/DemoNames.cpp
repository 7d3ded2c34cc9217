#include "velmo/DemoNames.h"

namespace velmo::demo {

const QStringList& firstNames()
{
    static const QStringList names{
        "Ada", "Adrian", "Agnes", "Alba", "Albin", "Alma", "Alvar", "Amara", "Anders", "Anika",
        "Ansel", "Arlo", "Astrid", "Aurel", "Basil", "Beata", "Bela", "Benno", "Bettina", "Bram",
        "Brita", "Calla", "Carlo", "Cecily", "Cedric", "Clara", "Clemens", "Corin", "Dagny", "Dario",
        "Delia", "Desmond", "Dora", "Edda", "Edgar", "Elias", "Elin", "Elmer", "Enzo", "Esme",
        "Ewan", "Fabian", "Felka", "Fenna", "Florin", "Frida", "Gaspar", "Gemma", "Gideon", "Greta",
        "Gustav", "Hanne", "Hedda", "Henrik", "Hilde", "Hugo", "Ida", "Ilse", "Imre", "Ingo",
        "Iris", "Ivo", "Jana", "Jarno", "Jasper", "Joris", "Juna", "Kai", "Karin", "Kasimir",
        "Klara", "Konrad", "Lale", "Lars", "Leda", "Lenz", "Liva", "Lorin", "Luca", "Lydia",
        "Magnus", "Malin", "Marek", "Mira", "Milo", "Nadia", "Nele", "Niko", "Nora", "Odile",
        "Olaf", "Orla", "Oskar", "Paula", "Pavel", "Petra", "Quirin", "Rafa", "Rhea", "Rolf",
        "Rosa", "Ruben", "Sanna", "Sefa", "Silas", "Sonja", "Stellan", "Svea", "Tamsin", "Teo",
        "Thea", "Tilda", "Tobin", "Ulla", "Urban", "Valka", "Vera", "Viggo", "Wanda", "Wendel",
        "Xenia", "Yara", "Yorick", "Zelda", "Zeno",
    };
    return names;
}

const QStringList& lastNames()
{
    static const QStringList names{
        "Abernethy", "Achterberg", "Aldana", "Alderton", "Amsel", "Arkwell", "Ashgrove", "Bairstow",
        "Balcombe", "Barrowby", "Beckwith", "Bellamy", "Birkeland", "Blackmore", "Bramwell", "Brenner",
        "Brightwater", "Brockhurst", "Caldera", "Carrow", "Castellan", "Cawthorne", "Chalmers", "Clewett",
        "Colquhoun", "Corbishley", "Cranfield", "Crowther", "Dalgleish", "Danforth", "Delacroix", "Denholm",
        "Dorrington", "Drummond", "Dunleavy", "Eastwick", "Edgerton", "Eggleston", "Ellingham", "Emberly",
        "Esterhaus", "Fairbairn", "Falkner", "Farrant", "Fenwick", "Finchley", "Fitzroy", "Fleetwood",
        "Forsythe", "Fothergill", "Gallant", "Garside", "Gillespie", "Glanville", "Goodridge", "Gravenor",
        "Greaves", "Gunnarsen", "Hadleigh", "Halloran", "Hambleton", "Hargreave", "Hartigan", "Haverford",
        "Hedgecock", "Hollis", "Holmgren", "Hornsby", "Hulbert", "Ingleby", "Irvine", "Jardine",
        "Jessop", "Kavanagh", "Keswick", "Kilbride", "Kingsley", "Kirkwood", "Lachance", "Lambourne",
        "Langridge", "Larkin", "Lindqvist", "Lockhart", "Loveday", "Lyndon", "Macready", "Maitland",
        "Marchetti", "Marlowe", "Mayhew", "Merriman", "Middleton", "Moncrieff", "Morrow", "Mortensen",
        "Nettleton", "Northcott", "Nyberg", "Oakley", "Ockenden", "Oldroyd", "Ormsby", "Overbeck",
        "Pankhurst", "Pemberton", "Penrose", "Petrakis", "Pickering", "Prentice", "Quarles", "Quennell",
        "Radcliffe", "Ramsay", "Ravensworth", "Redfern", "Ridgeway", "Rinaldi", "Rochford", "Rosenthal",
        "Rutherford", "Sandoval", "Satterly", "Selwyn", "Shackleton", "Sherwood", "Sinclair", "Skelton",
        "Stanhope", "Stirling", "Strachan", "Sutcliffe", "Talbot", "Tennant", "Thackeray", "Thornbury",
        "Tillman", "Torvald", "Trevelyan", "Tunstall", "Underhill", "Upton", "Vandermeer", "Varga",
        "Verhoeven", "Wainwright", "Waldegrave", "Wetherby", "Whitcombe", "Wilberforce", "Winterbourne",
        "Wolstenholme", "Yardley", "Yelverton", "Zellweger", "Zimmerly",
    };
    return names;
}

const QStringList& departments()
{
    static const QStringList names{
        "Sales", "Support", "Billing", "Engineering", "Marketing", "Facilities", "Human Resources",
        "Purchasing", "Legal", "Finance", "Logistics", "Research", "Training", "Security", "Reception",
        "Warehouse", "Customer Care", "Quality", "Operations", "Planning",
    };
    return names;
}

const QStringList& siteNames()
{
    static const QStringList names{
        "Alderbank", "Birchmoor", "Cedarholm", "Dunmore", "Elmstead", "Fairholt", "Glenrock",
        "Hartwell", "Ivybridge", "Juniper", "Kestrel", "Larkspur", "Millbrook", "Northgate",
        "Oakhaven", "Pinecrest", "Quarrydale", "Riverside", "Stonebridge", "Thornfield",
    };
    return names;
}

}  // namespace velmo::demo
