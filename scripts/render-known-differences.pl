#!/usr/bin/perl
# The unit oleaut32 rendered under Wine, with the departures of Wine from
# Windows that the reader does not copy turned into the reader's form, so
# that the two units compare line by line:
#   scripts/render-known-differences.pl WINE_UNIT READER_UNIT
# prints the adjusted Wine unit on standard output and, on standard error,
# one line per class: "lcid N" and "unloadable-base N" (lines adjusted).
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
#   Taken only where the reader's block has those failures and as many
#   members as Wine's block has failures.
# sltg-array: in a library of the older SLTG format Wine takes an array's
#   element count from the array's own type description (VT_CARRAY, 0x1C,
#   in the low 16 bits of the count) instead of its bounds. Taken where the
#   reader's line is the same field with another upper bound and Wine's
#   count has 0x1C in its low 16 bits.
# sltg-record-ref: Wine leaves the types that a record of the SLTG format
#   refers to unresolved (<UnknownCustomType>). Taken where the reader's line
#   is the same field and names a type that the reader's unit declares.
use strict;
use warnings;

my ($wine_file, $reader_file) = @ARGV;
sub lines_of {
  open(my $in, '<', $_[0]) or die "$_[0]: $!";
  my @l = <$in>;
  close $in;
  return @l;
}
my @wine = lines_of($wine_file);
my @reader = lines_of($reader_file);
my %count = (lcid => 0, 'unloadable-base' => 0, 'sltg-array' => 0, 'sltg-record-ref' => 0);

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
  my @members = grep { !m{^    // } } @r;
  next unless grep { /\(Error code: 0x8002802B\)$/ } @members;
  next unless @members == @w;
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
my %declared = map { /^  (\w+) = / ? ($1 => 1) : () } @reader;
for my $i (0 .. ($#wine < $#reader ? $#wine : $#reader)) {
  my ($w, $r) = ($wine[$i], $reader[$i]);
  if ($w =~ /^(\s+\w+: array\[0\.\.)(\d+)(\] of \S+;)$/) {
    my ($head, $bound, $tail) = ($1, $2, $3);
    if ($r =~ /^\Q$head\E(\d+)\Q$tail\E$/ && $1 != $bound && (($bound + 1) & 0xFFFF) == 0x1C) {
      $wine[$i] = $r;
      $count{'sltg-array'}++;
    }
  } elsif ($w =~ /^(\s+\w+: )<UnknownCustomType>;$/) {
    my $head = $1;
    if ($r =~ /^\Q$head\E(\w+);$/ && $declared{$1}) {
      $wine[$i] = $r;
      $count{'sltg-record-ref'}++;
    }
  }
}
print @wine;
print STDERR "$_ $count{$_}\n" for sort keys %count;
