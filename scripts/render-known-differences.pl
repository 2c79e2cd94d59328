#!/usr/bin/perl
# The unit oleaut32 rendered under Wine, with the departures of Wine from
# Windows that the reader does not copy turned into the reader's form, so
# that the two units compare line by line:
#   scripts/render-known-differences.pl WINE_UNIT READER_UNIT [--library FILE] [--duals FILE]
# prints the adjusted Wine unit on standard output and, on standard error,
# one line per class that adjusted lines: "CLASS N". Each class takes a
# line only where something other than the reader's own unit says the
# reader's line is right; tests/data/wine/known-differences.txt holds how
# many lines each class takes in each unit.
#   --library FILE   the library's file (for the SLTG classes)
#   --duals FILE     what brannock-dual-functions printed for the library
#                    under Wine (for unloadable-base)
#
# lcid: Wine leaves an [lcid] parameter in a dispatch view when it is not
#   the last parameter (a property put's locale before the assigned value);
#   the caller of IDispatch::Invoke never passes it (Invoke supplies the
#   locale), so the reader leaves it out wherever it stands. The Wine line
#   loses the parameter, and unnamed parameters after it their place number.
# unloadable-base: for a dual interface whose bases lie in a library that
#   cannot be loaded, Wine fails GetFuncDesc for every function of the
#   dispatch view with TYPE_E_CANTLOADLIBRARY; GetFuncDesc does not load
#   other libraries on Windows, so the reader describes the interface's own
#   functions and fails only the inherited ones (TYPE_E_ELEMENTNOTFOUND).
#   Taken where Wine's block holds nothing but those failures and the
#   reader's block holds as many members: inherited failures, then exactly
#   the lines of the interface's own functions as oleaut32 describes them
#   in the interface (vtable) view (--duals).
# sltg-array: in a library of the older SLTG format Wine takes an array's
#   element count from the array's own type description (VT_CARRAY, 0x1C,
#   in the low 16 bits of the count) instead of its bounds. Taken where
#   Wine's count has 0x1C in its low 16 bits and the reader's bound is the
#   one the file's array description holds (scripts/sltg-fields.pl).
# sltg-record-ref: Wine leaves the types that a record of the SLTG format
#   refers to unresolved. Taken where Wine's line is the field with the type
#   <UnknownCustomType> and the reader names the type the file's reference
#   for that field names (scripts/sltg-fields.pl).
# duplicate-alias: Wine fails GetRefTypeInfo (E_FAIL) for references to an
#   alias whose name the library declares more than once, and renders
#   <UnknownCustomType>; the reader resolves them as Windows does. Taken
#   where the lines are the same but for names of such aliases in place of
#   <UnknownCustomType>.
use strict;
use warnings;
use File::Basename qw(dirname);

my ($wine_file, $reader_file, @options) = @ARGV;
my ($library, $duals_file);
while (@options) {
  my $option = shift @options;
  if ($option eq '--library') { $library = shift @options }
  elsif ($option eq '--duals') { $duals_file = shift @options }
  else { die "render-known-differences.pl: unknown option $option\n" }
}
sub lines_of {
  open(my $in, '<', $_[0]) or die "$_[0]: $!";
  my @l = <$in>;
  close $in;
  return @l;
}
my @wine = lines_of($wine_file);
my @reader = lines_of($reader_file);
my %count = map { $_ => 0 } qw(lcid unloadable-base sltg-array sltg-record-ref duplicate-alias);

# The own functions of each dual, by GUID, as brannock-dual-functions wrote them.
my %dual_lines;
if (defined $duals_file) {
  my $guid;
  for (lines_of($duals_file)) {
    s/\r$//;
    if (/^dual (\{[0-9A-F-]+\})$/) { $guid = $1; $dual_lines{$guid} = [] }
    elsif (defined $guid) { push @{$dual_lines{$guid}}, $_ }
  }
}

# Blocks of members: from a head line "  NAME = interface..." or
# "  NAME = dispinterface" to "  end;"; keyed by head line and occurrence.
sub blocks {
  my @l = @_;
  my (%b, %seen, $key, $start);
  for my $i (0 .. $#l) {
    if ($l[$i] =~ /^  \S+ = (?:interface|dispinterface)\b/) {
      $key = $l[$i] . '#' . ++$seen{$l[$i]};
      $start = $i + 2;  # after the GUID line
    } elsif (defined $key && $l[$i] eq "  end;\n") {
      $b{$key} = [$start, $i];
      undef $key;
    }
  }
  return %b;
}
my %wine_blocks = blocks(@wine);
my %reader_blocks = blocks(@reader);
my @replace;
for my $key (keys %wine_blocks) {
  my ($ws, $we) = @{$wine_blocks{$key}};
  next unless exists $reader_blocks{$key} && $we > $ws;
  my @w = @wine[$ws .. $we - 1];
  next if grep { !/^\s+\(Error code: 0x80029C4A\)$/ } @w;
  my ($rs, $re) = @{$reader_blocks{$key}};
  my @r = @reader[$rs .. $re - 1];
  my ($guid) = $reader[$rs - 1] =~ /\['(\{[0-9A-F-]+\})'\]/;
  next unless defined $guid && $dual_lines{$guid};
  my $inherited = 0;
  ++$inherited while $inherited < @r && $r[$inherited] =~ /\(Error code: 0x8002802B\)$/;
  my @own = @r[$inherited .. $#r];
  next unless $inherited > 0 && join('', @own) eq join('', @{$dual_lines{$guid}});
  next unless $inherited + (grep { !m{^    // } } @own) == @w;
  push @replace, [$ws, $we, [@r]];
  $count{'unloadable-base'} += @w;
}
for my $r (sort { $b->[0] <=> $a->[0] } @replace) {
  splice(@wine, $r->[0], $r->[1] - $r->[0], @{$r->[2]});
}

for my $line (@wine) {
  next unless $line =~ /dispid -?\d+;$/ && $line =~ /\bconst lcid /;
  my $before = $line;
  # The parameter with its separator: "(const lcid x: LongInt; " or "; const lcid x: LongInt".
  my ($name) = $line =~ /const lcid (\w+): \w+/;
  $line =~ s/\(const lcid \w+: \w+; /(/ or $line =~ s/; const lcid \w+: \w+//;
  if (defined $name && $name =~ /^Param(\d+)$/) {
    my $n = $1;
    $line =~ s/\bParam(\d+)\b/'Param' . ($1 > $n ? $1 - 1 : $1)/ge;
  }
  $count{lcid}++ if $line ne $before;
}

# The SLTG file's fields, read apart from the reader.
my %field;
if (defined $library) {
  my $walker = dirname(__FILE__) . '/sltg-fields.pl';
  open(my $fields, '-|', "'$walker' '$library' 2>/dev/null") or die "$walker: $!";
  while (<$fields>) {
    chomp;
    my ($type, $name, $what) = split / /, $_, 3;
    $field{"$type.$name"} = $what;
  }
  # Exit status 2: not an SLTG library, which has no such fields.
  close $fields or $? >> 8 == 2 or die "sltg-fields.pl $library failed\n";
}
# Aliases the reader's unit declares more than once.
my %declared;
$declared{$_}++ for map { /^  (\w+) = / ? $1 : () } @reader;
my $record;  # the record whose fields the lines are
for my $i (0 .. ($#wine < $#reader ? $#wine : $#reader)) {
  my ($w, $r) = ($wine[$i], $reader[$i]);
  $record = $1 if $r =~ /^  (\w+) = record$/;
  undef $record if $r eq "  end;\n";
  if ($w =~ /^    (\w+): array\[0\.\.(\d+)\] of (\S+);$/) {
    my ($name, $bound, $element) = ($1, $2, $3);
    next unless defined $record && (($bound + 1) & 0xFFFF) == 0x1C;
    next unless $r =~ /^    \Q$name\E: array\[0\.\.(\d+)\] of \Q$element\E;$/ && $1 != $bound;
    next unless ($field{"$record.$name"} // '') eq 'array ' . ($1 + 1);
    $wine[$i] = $r;
    $count{'sltg-array'}++;
  } elsif ($w =~ /^    (\w+): <UnknownCustomType>;$/ && defined $record && exists $field{"$record.$1"}) {
    my $name = $1;
    next unless $r =~ /^    \Q$name\E: (\w+);$/ && $field{"$record.$name"} eq "ref $1";
    $wine[$i] = $r;
    $count{'sltg-record-ref'}++;
  } elsif ($w =~ /<UnknownCustomType>/) {
    my $pattern = join('(\w+)', map { quotemeta } split(/<UnknownCustomType>/, $w, -1));
    my @names = $r =~ /^$pattern$/;
    next unless @names && !grep { ($declared{$_} // 0) < 2 } @names;
    $wine[$i] = $r;
    $count{'duplicate-alias'}++;
  }
}
print @wine;
print STDERR "$_ $count{$_}\n" for sort keys %count;
